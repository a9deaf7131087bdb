#include "export/spreadsheet.h"

#include "export/numbers.h"
#include "finance/tables.h"
#include "platform/files.h"

#include <cstdio>

const ExportDialect kExportDialects[3] = {
    {"", "\"", ","},
    {"", "\"", ";"},
    {"", "\"", "\t"},
};

namespace {

const char *yesNo(std::uint8_t flag) { return flag != 0 ? "Yes" : "No"; }

void putHeaderLine(SheetWriter &w, std::initializer_list<std::string_view> cells) {
  for (std::string_view cell : cells) {
    putText(w, cell);
  }
  endLine(w, 1);
}

void putTitle(SheetWriter &w, std::string_view title) {
  putRaw(w, title);
  endLine(w, 1);
}

void writeCurrencies(SheetWriter &w, const FinanceTables &t) {
  putTitle(w, "****** Currencies ******");
  putHeaderLine(w, {"Name", "Rate", "1/Rate"});
  for (std::int32_t i = 0; i < t.currencyCount; ++i) {
    const CurrencyItem &currency = t.currencies[i];
    putText(w, currency.name);
    putFourDecimals(w, currency.rate);
    putFourDecimals(w, quotientOfSingles(1.0f, currency.rate));
    endLine(w);
  }
  endLine(w, 1);
}

void writeAccounts(SheetWriter &w, const FinanceTables &t) {
  putTitle(w, "****** Accounts ******");
  putHeaderLine(w, {"Total", "Active", "Name", "Amount", "Currency", "Amount x Rate", "Notes"});
  for (std::int32_t i = 0; i < t.accountCount; ++i) {
    const AccountItem &account = t.accounts[i];
    const CurrencyItem &currency = findById(account.currencyId, t.currencies, t.currencyCount);
    putText(w, yesNo(account.total));
    putText(w, yesNo(account.active));
    putText(w, account.name);
    putTwoDecimals(w, account.amount);
    putText(w, currency.name);
    putTwoDecimals(w, productOfSingles(currency.rate, account.amount));
    putText(w, account.notes);
    endLine(w);
  }
  endLine(w, 1);
}

void writeTransactionHeader(SheetWriter &w, const FinanceTables &t) {
  putHeaderLine(w, {"Date/Time",
                    "Transfer/Single",
                    "Income/Expense",
                    "Amount",
                    "Currency",
                    "Account (primary)",
                    "Account (transfer)",
                    t.customNames[0].name,
                    t.customNames[1].name,
                    t.customNames[2].name,
                    t.customNames[3].name,
                    "Balance",
                    "How to remind",
                    "Remind?",
                    "Receipt",
                    "Billable",
                    "Cleared",
                    "Fixed rate flag",
                    "Fixed rate value",
                    "Amount x Current rate",
                    "Amount x Fixed rate",
                    "Amount / Fixed rate",
                    "Notes"});
}

void writeTransaction(SheetWriter &w, const FinanceTables &t, const TransactionItem &x) {
  const CurrencyItem &currency = findById(x.currencyId, t.currencies, t.currencyCount);
  putDateTime(w, x.year, x.month, x.day, x.hour, x.minute, x.second);
  putText(w, x.transferMark > 0 ? "Transfer" : "Single  ");
  putText(w, x.income != 0 ? "Income " : "Expense");
  putTwoDecimals(w, x.amount);
  putText(w, currency.name);
  putText(w, findById(x.accountId, t.accounts, t.accountCount).name);
  if (x.transferAccountId < 1) {
    putEmpty(w);
  } else {
    putText(w, findById(x.transferAccountId, t.accounts, t.accountCount).name);
  }
  putText(w, findById(x.category1Id, t.category1, t.category1Count).name);
  putText(w, findById(x.category2Id, t.category2, t.category2Count).name);
  putText(w, findById(x.category3Id, t.category3, t.category3Count).name);
  putText(w, findById(x.category4Id, t.category4, t.category4Count).name);
  putText(w, findById(x.balanceTypeId, t.balanceTypes, t.balanceTypeCount).name);
  putText(w, findById(x.remindTypeId, t.remindTypes, t.remindTypeCount).name);
  putText(w, x.remind != 0 ? "Remind" : "");
  putText(w, yesNo(x.receipt));
  putText(w, yesNo(x.billable));
  putText(w, yesNo(x.cleared));
  putText(w, x.fixedRateFlag != 0 ? "Fixed rate" : "");
  putFourDecimals(w, x.fixedRateValue);
  putTwoDecimals(w, productOfSingles(currency.rate, x.amount));
  if (x.fixedRateFlag != 0) {
    putTwoDecimals(w, productOfSingles(x.amount, x.fixedRateValue));
    putFourDecimals(w, quotientOfSingles(x.amount, x.fixedRateValue));
  } else {
    putEmpty(w);
    putEmpty(w);
  }
  putText(w, x.notes);
  endLine(w);
}

void writeTransactions(SheetWriter &w, const FinanceTables &t) {
  putTitle(w, "****** Transactions ******");
  writeTransactionHeader(w, t);
  for (std::int32_t i = 0; i < t.transactionCount; ++i) {
    writeTransaction(w, t, t.transactions[i]);
  }
}

} // namespace

void exportSpreadsheet(const char *path, int dialect) {
  std::FILE *file = createFileForWriting(path);
  if (file == nullptr) {
    std::printf(" *** Error: Can't open file \"%s\" (Still open? Read only?)\n", path);
    return;
  }
  SheetWriter writer = startSheet(file, kExportDialects[dialect - 1]);
  writeCurrencies(writer, financeTables);
  writeAccounts(writer, financeTables);
  writeTransactions(writer, financeTables);
  if (finishSheet(writer)) {
    std::printf("Brimlow data are exported to the \"%s\" file in the current folder\n", path);
  } else {
    std::printf(" *** Error: Can't write file \"%s\" (Disk full?)\n", path);
  }
}
