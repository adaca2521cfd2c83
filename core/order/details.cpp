#include "core/order/details.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tovimar {

std::size_t Utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

bool FitsField(std::string_view text, std::size_t max) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return Utf8Length(text) <= max;
}

bool IsRealDate(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (std::size_t p = 0; p < 3; ++p)
        for (std::size_t k = 0; k < lengths[p]; ++k) {
            const char c = date[starts[p] + k];
            if (c < '0' || c > '9')
                return false;
            parts[p] = parts[p] * 10 + (c - '0');
        }
    const std::chrono::year_month_day day{std::chrono::year(parts[0]), std::chrono::month(unsigned(parts[1])),
                                          std::chrono::day(unsigned(parts[2]))};
    return parts[0] >= 1 && day.ok();
}

std::string TodayIso() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

namespace {

std::optional<DetailsProblem> tooLong(std::string item, std::string_view what, std::string_view text,
                                      std::size_t max) {
    if (FitsField(text, max))
        return std::nullopt;
    return DetailsProblem{std::move(item), std::string(what) + " must be at most " + std::to_string(max) +
                                               " characters on one line; it has " +
                                               std::to_string(Utf8Length(text)) + "."};
}

}  // namespace

std::optional<DetailsProblem> CheckDetails(const OrderDetails& details) {
    const Laboratory& lab = details.laboratory;
    if (lab.name.empty() && !(lab == Laboratory{}))
        return DetailsProblem{"laboratory.name", "The laboratory's name must be given with its details."};
    if (lab.address.size() > kAddressLines)
        return DetailsProblem{"laboratory.address", "The address has " + std::to_string(lab.address.size()) +
                                                        " lines; it may have at most 4."};
    if (auto p = tooLong("laboratory.name", "The laboratory's name", lab.name, kNameMax))
        return p;
    for (std::size_t k = 0; k < lab.address.size(); ++k)
        if (auto p = tooLong("laboratory.address[" + std::to_string(k) + "]", "A line of the address",
                             lab.address[k], kAddressLineMax))
            return p;
    const struct {
        const char* item;
        const char* what;
        const std::string& text;
        std::size_t max;
    } fields[] = {{"laboratory.account", "The customer account", lab.account, kAccountMax},
                  {"laboratory.contact", "The contact's name", lab.contact, kContactMax},
                  {"laboratory.phone", "The phone number", lab.phone, kPhoneMax},
                  {"laboratory.email", "The e-mail address", lab.email, kEmailMax},
                  {"order.reference", "The order's reference", details.reference, kReferenceMax}};
    for (const auto& f : fields)
        if (auto p = tooLong(f.item, f.what, f.text, f.max))
            return p;
    if (!details.date.empty() && !IsRealDate(details.date))
        return DetailsProblem{"order.date", "The date must be a real day written yyyy-mm-dd, as 2026-12-01."};
    return std::nullopt;
}

}  // namespace tovimar
