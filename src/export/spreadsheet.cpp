#include "export/spreadsheet.h"

#include "export/id_index.h"
#include "export/numbers.h"
#include "finance/tables.h"
#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const ExportDialect kExportDialects[3] = {
    {"", "\"", ","},
    {"", "\"", ";"},
    {"", "\"", "\t"},
};

namespace {

// A table that ids are looked up in: its index and its names measured, once per
// file, so that a cell costs neither a search from the first entry nor a scan
// of the name.
struct NameLookup {
  IdIndex ids;
  std::uint16_t lengths[kTableCapacity]; // as written into the cell
  // Where the name stands in doubledNames with its quotes doubled; -1 for a
  // name that is written from its table.
  std::int32_t doubledAt[kTableCapacity];
  bool quoted[kTableCapacity]; // a name from its table whose quotes are still to double
};

// The looked-up names that hold quotes, doubled once per file rather than in
// every cell that shows them; the names that find this full are doubled cell
// by cell.
constexpr std::size_t kDoubledNamesCapacity = std::size_t{1} << 18;
char doubledNames[kDoubledNamesCapacity];
std::size_t doubledNamesUsed;

// The fixed texts of the data lines, measured once per file.
struct FixedTexts {
  MeasuredText yes;
  MeasuredText no;
  MeasuredText transfer;
  MeasuredText single;
  MeasuredText income;
  MeasuredText expense;
  MeasuredText remind;
  MeasuredText fixedRate;
  MeasuredText none;
};

struct ExportLookups {
  FixedTexts fixed;
  NameLookup currencies;
  NameLookup accounts;
  NameLookup category1;
  NameLookup category2;
  NameLookup category3;
  NameLookup category4;
  NameLookup balanceTypes;
  NameLookup remindTypes;
};

// In static storage like the tables, and filled anew for each file.
ExportLookups lookups;

template <std::size_t N> std::string_view textOf(const char (&field)[N]) {
  const void *nul = std::memchr(field, 0, N);
  return {field,
          nul != nullptr ? static_cast<std::size_t>(static_cast<const char *>(nul) - field) : N};
}

template <typename Entry>
void prepareLookup(NameLookup &lookup, const SheetWriter &w, const Entry *table,
                   std::int32_t count) {
  indexTable(lookup.ids, table, count);
  // Entry 0 is also what a lookup in an empty table finds.
  std::int32_t measured = std::clamp(count, 1, kTableCapacity);
  for (std::int32_t i = 0; i < measured; ++i) {
    MeasuredText name = measureText(w, textOf(table[i].name));
    lookup.doubledAt[i] = -1;
    if (name.quoted && 2 * name.text.size() <= kDoubledNamesCapacity - doubledNamesUsed) {
      lookup.doubledAt[i] = static_cast<std::int32_t>(doubledNamesUsed);
      name = MeasuredText{{doubledNames + doubledNamesUsed,
                           writeDoubledQuotes(w, name.text, doubledNames + doubledNamesUsed)},
                          false};
      doubledNamesUsed += name.text.size();
    }
    lookup.lengths[i] = static_cast<std::uint16_t>(name.text.size());
    lookup.quoted[i] = name.quoted;
  }
}

void prepareLookups(ExportLookups &l, const SheetWriter &w, const FinanceTables &t) {
  doubledNamesUsed = 0;
  l.fixed = FixedTexts{
      measureText(w, "Yes"),      measureText(w, "No"),         measureText(w, "Transfer"),
      measureText(w, "Single  "), measureText(w, "Income "),    measureText(w, "Expense"),
      measureText(w, "Remind"),   measureText(w, "Fixed rate"), measureText(w, "")};
  prepareLookup(l.currencies, w, t.currencies, t.currencyCount);
  prepareLookup(l.accounts, w, t.accounts, t.accountCount);
  prepareLookup(l.category1, w, t.category1, t.category1Count);
  prepareLookup(l.category2, w, t.category2, t.category2Count);
  prepareLookup(l.category3, w, t.category3, t.category3Count);
  prepareLookup(l.category4, w, t.category4, t.category4Count);
  prepareLookup(l.balanceTypes, w, t.balanceTypes, t.balanceTypeCount);
  prepareLookup(l.remindTypes, w, t.remindTypes, t.remindTypeCount);
}

template <typename Entry>
MeasuredText nameAt(const NameLookup &lookup, const Entry *table, std::int32_t position) {
  std::size_t length = lookup.lengths[position];
  if (lookup.doubledAt[position] >= 0) {
    return MeasuredText{{doubledNames + lookup.doubledAt[position], length}, false};
  }
  return MeasuredText{{table[position].name, length}, lookup.quoted[position]};
}

// The name of the entry that findById returns for the id.
template <typename Entry>
MeasuredText nameFor(const NameLookup &lookup, const Entry *table, std::int32_t id) {
  return nameAt(lookup, table, positionOfId(lookup.ids, id));
}

const MeasuredText &yesNo(const FixedTexts &f, std::uint8_t flag) {
  return flag != 0 ? f.yes : f.no;
}

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

void writeAccounts(SheetWriter &w, const FinanceTables &t, const ExportLookups &l) {
  putTitle(w, "****** Accounts ******");
  putHeaderLine(w, {"Total", "Active", "Name", "Amount", "Currency", "Amount x Rate", "Notes"});
  for (std::int32_t i = 0; i < t.accountCount; ++i) {
    const AccountItem &account = t.accounts[i];
    std::int32_t currency = positionOfId(l.currencies.ids, account.currencyId);
    putText(w, yesNo(l.fixed, account.total));
    putText(w, yesNo(l.fixed, account.active));
    putText(w, account.name);
    putTwoDecimals(w, account.amount);
    putText(w, nameAt(l.currencies, t.currencies, currency));
    putTwoDecimals(w, productOfSingles(t.currencies[currency].rate, account.amount));
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

// The entries that one transaction line names, all looked up before the first
// cell is written: the lookups then wait for memory side by side, not one after
// the other.
struct TransactionReferences {
  float rate;
  MeasuredText currency;
  MeasuredText account;
  MeasuredText transferAccount; // no text: no transfer account
  MeasuredText category1;
  MeasuredText category2;
  MeasuredText category3;
  MeasuredText category4;
  MeasuredText balanceType;
  MeasuredText remindType;
};

TransactionReferences lookUp(const FinanceTables &t, const ExportLookups &l,
                             const TransactionItem &x) {
  std::int32_t currency = positionOfId(l.currencies.ids, x.currencyId);
  return TransactionReferences{
      t.currencies[currency].rate,
      nameAt(l.currencies, t.currencies, currency),
      nameFor(l.accounts, t.accounts, x.accountId),
      x.transferAccountId < 1 ? l.fixed.none : nameFor(l.accounts, t.accounts, x.transferAccountId),
      nameFor(l.category1, t.category1, x.category1Id),
      nameFor(l.category2, t.category2, x.category2Id),
      nameFor(l.category3, t.category3, x.category3Id),
      nameFor(l.category4, t.category4, x.category4Id),
      nameFor(l.balanceTypes, t.balanceTypes, x.balanceTypeId),
      nameFor(l.remindTypes, t.remindTypes, x.remindTypeId),
  };
}

void writeTransaction(SheetWriter &w, const FixedTexts &f, const TransactionReferences &r,
                      const TransactionItem &x) {
  putDateTime(w, x.year, x.month, x.day, x.hour, x.minute, x.second);
  putText(w, x.transferMark > 0 ? f.transfer : f.single);
  putText(w, x.income != 0 ? f.income : f.expense);
  putTwoDecimals(w, x.amount);
  putText(w, r.currency);
  putText(w, r.account);
  putText(w, r.transferAccount);
  putText(w, r.category1);
  putText(w, r.category2);
  putText(w, r.category3);
  putText(w, r.category4);
  putText(w, r.balanceType);
  putText(w, r.remindType);
  putText(w, x.remind != 0 ? f.remind : f.none);
  putText(w, yesNo(f, x.receipt));
  putText(w, yesNo(f, x.billable));
  putText(w, yesNo(f, x.cleared));
  putText(w, x.fixedRateFlag != 0 ? f.fixedRate : f.none);
  putFourDecimals(w, x.fixedRateValue);
  putTwoDecimals(w, productOfSingles(r.rate, x.amount));
  if (x.fixedRateFlag != 0) {
    putTwoDecimals(w, productOfSingles(x.amount, x.fixedRateValue));
    putFourDecimals(w, quotientOfSingles(x.amount, x.fixedRateValue));
  } else {
    putText(w, f.none);
    putText(w, f.none);
  }
  putText(w, x.notes);
  endLine(w);
}

void writeTransactions(SheetWriter &w, const FinanceTables &t, const ExportLookups &l) {
  putTitle(w, "****** Transactions ******");
  writeTransactionHeader(w, t);
  for (std::int32_t i = 0; i < t.transactionCount; ++i) {
    const TransactionItem &x = t.transactions[i];
    writeTransaction(w, l.fixed, lookUp(t, l, x), x);
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
  prepareLookups(lookups, writer, financeTables);
  writeCurrencies(writer, financeTables);
  writeAccounts(writer, financeTables, lookups);
  writeTransactions(writer, financeTables, lookups);
  if (finishSheet(writer)) {
    std::printf("Brimlow data are exported to the \"%s\" file in the current folder\n", path);
  } else {
    std::printf(" *** Error: Can't write file \"%s\" (Disk full?)\n", path);
  }
}
