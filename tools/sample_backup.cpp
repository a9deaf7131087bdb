#include "sample_backup.h"

#include "support/pdb_writer.h"
#include "support/records.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace {

// A small generator of our own, so that every platform writes the same bytes.
struct Dice {
  std::uint32_t state = 20040101;
  std::uint32_t below(std::uint32_t limit) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % limit;
  }
};

enum Currency { kDollar = 1, kEuro, kPound, kYen };
enum Account { kChecking = 1, kSavings, kWallet, kEuroAccount, kUkCard, kTravelYen };
enum ExpenseType { kGroceries = 1, kRent, kUtilities, kTravel, kSalary, kDining, kBooks, kMoving };
enum Payee { kMarket = 1, kPower, kLandlord, kEmployer, kBookshop, kLawyers, kAirline };
enum Project { kHousehold = 1, kHoliday, kWork };
enum Method { kCash = 1, kCheque, kCard, kBankTransfer };
enum Balance { kNotCleared = 1, kCleared, kReconciled };
enum Remind { kNoReminder = 1, kAlarm, kOnScreen };

std::vector<Bytes> named(const std::vector<std::string> &names) {
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < names.size(); ++i) {
    records.push_back(namedRecord(static_cast<std::int32_t>(i + 1), names[i]));
  }
  return records;
}

std::vector<Bytes> accounts() {
  const AccountRecord all[] = {
      {kChecking, 2315.40f, kDollar, 1, 1, "Checking", "Main account\nstatements monthly"},
      {kSavings, 10250.00f, kDollar, 1, 1, "Savings", "3.1% interest"},
      {kWallet, 84.35f, kDollar, 1, 0, "Cash wallet", ""},
      {kEuroAccount, 1200.00f, kEuro, 1, 1, "Euro account", "Opened for the holiday"},
      {kUkCard, -312.18f, kPound, 1, 1, "UK card", "Credit card, pays off\r\nevery month"},
      {kTravelYen, 15000.0f, kYen, 0, 0, "Travel yen", "Left over from 2003"},
  };
  std::vector<Bytes> records;
  for (const AccountRecord &account : all) {
    records.push_back(encode(account));
  }
  return records;
}

// Days since 2004-01-01 to a date of the year 2004 (a leap year).
void setDate(TransactionRecord &t, int dayOfYear, int hour, int minute) {
  static const int kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int month = 0;
  int day = dayOfYear;
  while (day >= kMonthDays[month]) {
    day -= kMonthDays[month++];
  }
  t.year = 2004;
  t.month = static_cast<std::int16_t>(month + 1);
  t.day = static_cast<std::int16_t>(day + 1);
  t.hour = static_cast<std::int16_t>(hour);
  t.minute = static_cast<std::int16_t>(minute);
  t.second = 0;
  t.weekday = static_cast<std::int16_t>((dayOfYear + 4) % 7); // 2004-01-01 was a Thursday
}

struct Ledger {
  std::vector<Bytes> records;
  std::int32_t nextId = 1;
  Dice dice;

  TransactionRecord entry(int dayOfYear, Account account, float amount) {
    TransactionRecord t;
    t.id = nextId++;
    setDate(t, dayOfYear, 8 + static_cast<int>(dice.below(12)), static_cast<int>(dice.below(60)));
    t.accountId = account;
    t.amount = amount;
    t.currencyId = kDollar;
    t.balanceTypeId = dayOfYear < 300 ? kReconciled : kCleared;
    t.remindTypeId = kNoReminder;
    t.category3Id = kHousehold;
    t.cleared = dayOfYear < 330 ? 1 : 0;
    return t;
  }

  void add(const TransactionRecord &t) { records.push_back(encode(t)); }
};

void addMonth(Ledger &ledger, int month, int firstDay) {
  TransactionRecord salary = ledger.entry(firstDay + 24, kChecking, 3150.00f);
  salary.income = 1, salary.category1Id = kSalary, salary.category2Id = kEmployer;
  salary.category3Id = kWork, salary.category4Id = kBankTransfer;
  ledger.add(salary);

  TransactionRecord rent = ledger.entry(firstDay, kChecking, 950.00f);
  rent.category1Id = kRent, rent.category2Id = kLandlord, rent.category4Id = kCheque;
  rent.remind = 1, rent.remindTypeId = kAlarm, rent.receipt = 1;
  ledger.add(rent);

  TransactionRecord power = ledger.entry(firstDay + 11, kChecking,
                                         60.0f + static_cast<float>(ledger.dice.below(5000)) / 100);
  power.category1Id = kUtilities, power.category2Id = kPower, power.category4Id = kBankTransfer;
  power.remindTypeId = kOnScreen, power.remind = 1;
  ledger.add(power);

  TransactionRecord saving = ledger.entry(firstDay + 25, kChecking, 400.00f);
  saving.transferMark = 1, saving.transferAccountId = kSavings;
  saving.category4Id = kBankTransfer;
  saving.notes = month % 3 == 0 ? "Quarterly top-up\nsee statement" : "";
  ledger.add(saving);

  for (int visit = 0; visit < 8; ++visit) {
    int week = visit / 2;
    TransactionRecord food =
        ledger.entry(firstDay + 2 + 7 * week + 3 * (visit % 2), week % 2 ? kWallet : kUkCard,
                     20.0f + static_cast<float>(ledger.dice.below(9000)) / 100);
    food.category1Id = kGroceries, food.category2Id = kMarket;
    food.category4Id = week % 2 ? kCash : kCard;
    food.currencyId = week % 2 ? kDollar : kPound;
    ledger.add(food);
  }
  for (int i = 0; i < 2; ++i) {
    TransactionRecord withdrawal = ledger.entry(firstDay + 3 + 14 * i, kChecking, 100.00f);
    withdrawal.transferMark = 1, withdrawal.transferAccountId = kWallet;
    withdrawal.category4Id = kCash;
    ledger.add(withdrawal);
  }
  for (std::uint32_t i = ledger.dice.below(6) + 1; i > 0; --i) {
    TransactionRecord dinner =
        ledger.entry(firstDay + static_cast<int>(ledger.dice.below(27)), kWallet,
                     15.0f + static_cast<float>(ledger.dice.below(4500)) / 100);
    dinner.category1Id = kDining, dinner.category4Id = kCash;
    ledger.add(dinner);
  }
  if (month % 2 == 1) {
    TransactionRecord book = ledger.entry(firstDay + 14, kUkCard, 12.99f);
    book.category1Id = kBooks, book.category2Id = kBookshop, book.category4Id = kCard;
    book.currencyId = kPound, book.billable = month == 5 ? 1 : 0;
    book.notes = "Paperbacks, \"used\"";
    ledger.add(book);
  }
}

void addHoliday(Ledger &ledger) {
  TransactionRecord flight = ledger.entry(180, kChecking, 812.00f);
  flight.category1Id = kTravel, flight.category2Id = kAirline, flight.category3Id = kHoliday;
  flight.category4Id = kCard, flight.receipt = 1, flight.billable = 0;
  ledger.add(flight);

  TransactionRecord exchange = ledger.entry(182, kChecking, 500.00f);
  exchange.transferMark = 1, exchange.transferAccountId = kEuroAccount;
  exchange.fixedRateFlag = 1, exchange.fixedRateBits = floatBits(0.8125f);
  exchange.notes = "Changed at the airport\r\nrate fixed on the day";
  ledger.add(exchange);

  for (int day = 183; day < 197; ++day) {
    TransactionRecord spend =
        ledger.entry(day, kEuroAccount, 18.0f + static_cast<float>(ledger.dice.below(12000)) / 100);
    spend.currencyId = kEuro, spend.category3Id = kHoliday;
    spend.category1Id = day % 3 ? kDining : kTravel, spend.category4Id = kCard;
    spend.fixedRateFlag = day % 4 == 0 ? 1 : 0;
    spend.fixedRateBits = spend.fixedRateFlag ? floatBits(0.8125f) : kNoFixedRate;
    ledger.add(spend);
  }

  TransactionRecord refund = ledger.entry(200, kEuroAccount, 64.50f);
  refund.income = 1, refund.currencyId = kEuro, refund.category1Id = kTravel;
  refund.category2Id = kLawyers, refund.notes = "Refund for the cancelled ferry";
  ledger.add(refund);
}

std::vector<Bytes> transactions() {
  static const int kMonthStarts[12] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
  Ledger ledger;
  for (int month = 0; month < 12; ++month) {
    addMonth(ledger, month, kMonthStarts[month]);
    if (month == 6) {
      addHoliday(ledger);
    }
  }
  TransactionRecord moving = ledger.entry(250, kSavings, 1875.25f);
  moving.category1Id = kMoving, moving.category2Id = kLawyers, moving.billable = 1;
  moving.notes = "Deposit for the new flat\nkeep the receipt";
  moving.receipt = 1;
  ledger.add(moving);
  return ledger.records;
}

} // namespace

bool writeSampleBackup(const std::string &folder) {
  const std::vector<Bytes> databases[10] = {
      named(
          {"Groceries", "Rent", "Utilities", "Travel", "Salary", "Dining out", "Books", "Moving"}),
      named({"Corner Market", "City Power & Light", "Landlord", "Acme Corp", "Bookshop \"Inkwell\"",
             "Smith, Jones & Co", "Blue Sky Air"}),
      named({"Household", "Holiday 2004", "Work"}),
      named({"Cash", "Cheque", "Card", "Bank transfer"}),
      named({"Not cleared", "Cleared", "Reconciled"}),
      named({"None", "Alarm", "Note on screen"}),
      {currencyRecord(kDollar, 1.0f, "Dollar"), currencyRecord(kEuro, 0.9f, "Euro"),
       currencyRecord(kPound, 0.78f, "Pound"), currencyRecord(kYen, 110.5f, "Yen")},
      {customNameRecord("Expense type"), customNameRecord("Payee"), customNameRecord("Project"),
       customNameRecord("Method")},
      accounts(),
      transactions(),
  };
  try {
    for (int i = 0; i < 10; ++i) {
      writeFile(folder + "/" + kDatabaseNames[i], recordDatabase(databases[i]));
    }
  } catch (const std::exception &) {
    return false;
  }
  return true;
}
