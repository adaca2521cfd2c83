// Who orders and which order it is: the laboratory's name, address, customer account and contact,
// and the order's reference and date. Given, they make the printout an order form that a
// purchasing department takes as it is. Texts are UTF-8, kept as typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

struct Laboratory {
    std::string name;                  // the one that must be given for the rest to count
    std::vector<std::string> address;  // up to kAddressLines lines
    std::string account;               // the customer account at the supplier
    std::string contact;
    std::string phone;
    std::string email;

    bool given() const { return !name.empty(); }
    bool operator==(const Laboratory&) const = default;
};

struct OrderDetails {
    Laboratory laboratory;
    std::string reference;  // the laboratory's own order number, "PO-2026-0117"
    std::string date;       // yyyy-mm-dd; empty: the day the order is printed

    bool empty() const { return *this == OrderDetails{}; }
    bool operator==(const OrderDetails&) const = default;
};

// The longest each text may be, in characters.
inline constexpr std::size_t kNameMax = 80;
inline constexpr std::size_t kAddressLines = 4;
inline constexpr std::size_t kAddressLineMax = 80;
inline constexpr std::size_t kAccountMax = 40;
inline constexpr std::size_t kContactMax = 80;
inline constexpr std::size_t kPhoneMax = 40;
inline constexpr std::size_t kEmailMax = 80;
inline constexpr std::size_t kReferenceMax = 40;

// Characters, not bytes, of UTF-8 text.
std::size_t Utf8Length(std::string_view text);

// Whether a text fits a field: at most `max` characters and no control characters (a line break
// would break the printed line it stands on).
bool FitsField(std::string_view text, std::size_t max);

// Whether `date` is a real day written yyyy-mm-dd: "2026-02-29" is not.
bool IsRealDate(std::string_view date);

// Today on this computer's calendar, yyyy-mm-dd.
std::string TodayIso();

// The first text of the details that does not fit, named as the selection file names it
// ("laboratory.address[1]") with the sentence that says why; nothing when all fit.
struct DetailsProblem {
    std::string item;
    std::string message;
};
std::optional<DetailsProblem> CheckDetails(const OrderDetails& details);

}  // namespace tovimar
