#include "core/appearance/palette.h"

namespace tovimar {

namespace {

void addRange(std::vector<std::string>& names, const char* prefix, int from, int to) {
    for (int n = from; n <= to; ++n)
        names.push_back(prefix + std::to_string(n));
}

}  // namespace

SchemeColours SchemeColoursOf(int scheme) {
    switch (scheme) {
    case 1:
        return {palette::kGrey, palette::kGrey};
    case 2:
        return {palette::kLightBlue, palette::kWarmGrey};
    default:
        return {palette::kLightBlue, palette::kLightYellow};
    }
}

// Group O: the ORLAN rows, the SAMPLE CHECK box and the example row on the help panel.
const std::vector<std::string>& ColourGroupO() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        addRange(n, "Check", 1, 12);
        n.insert(n.end(), {"Check14", "Check21"});
        addRange(n, "Check", 23, 33);
        n.insert(n.end(), {"Check35", "Check60", "Check72", "Check73"});
        addRange(n, "Option", 1, 12);
        addRange(n, "Option", 19, 29);
        return n;
    }();
    return names;
}

// Group V: the VEX rows, the serum tox rows and the other validity rows.
const std::vector<std::string>& ColourGroupV() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n{"Check13"};
        addRange(n, "Check", 15, 19);
        n.insert(n.end(), {"Check22", "Check34"});
        addRange(n, "Check", 36, 59);
        addRange(n, "Check", 61, 70);
        n.insert(n.end(), {"Check106", "Check111", "Check112"});
        addRange(n, "Option", 13, 18);
        addRange(n, "Option", 30, 40);
        return n;
    }();
    return names;
}

}  // namespace tovimar
