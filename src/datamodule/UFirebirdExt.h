#pragma once
#include "Decimal.h"
#include <memory>
#include <optional>

class TDatabase;
class TQuery;

// Proposes the next device number of a customer.
class TFirebirdExt {
public:
    explicit TFirebirdExt(TDatabase *database);
    ~TFirebirdExt();
    TFirebirdExt(const TFirebirdExt &) = delete;
    TFirebirdExt &operator=(const TFirebirdExt &) = delete;

    // The largest number of the customer's devices (inactive ones too) plus
    // one; 1 when no device has a number; none when the largest number a
    // device can carry (eighteen nines) is taken.
    std::optional<TDecimal> NextPrueflingNummer(int kundenId);

    TQuery *Query() const { return FQuery.get(); }
    // Takes the statement over; the previous one is released.
    void setQuery(std::unique_ptr<TQuery> query);

private:
    std::unique_ptr<TQuery> FQuery;
};
