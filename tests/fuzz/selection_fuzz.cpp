// libFuzzer target for the selection reader. Whatever the bytes, the reader either refuses them with
// one readable sentence or gives a selection that opens, saves and reads back to itself, with the
// same order, quantities and screen.
#include "core/order/order.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace tovimar;

// Printable UTF-8 on one line: what a message box or a terminal shows as it is.
bool printableUtf8(std::string_view s) {
    for (std::size_t k = 0; k < s.size();) {
        const auto c = static_cast<unsigned char>(s[k]);
        if (c < 0x20 || c == 0x7F)
            return false;
        const std::size_t length = c < 0x80             ? 1
                                   : (c & 0xE0) == 0xC0 ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 0;
        if (length == 0 || (length > 1 && c < 0xC2) || k + length > s.size())
            return false;
        if (c == 0xC2 && static_cast<unsigned char>(s[k + 1]) < 0xA0)  // C1 controls
            return false;
        for (std::size_t j = 1; j < length; ++j)
            if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80)
                return false;
        k += length;
    }
    return true;
}

[[noreturn]] void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s\n%.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SelectionReading read = ReadSelection(bytes);
    if (!read.selection) {
        const std::string& m = read.problem.message;
        const std::string text = ProblemText(read.problem);
        if (m.empty() || m.front() < 'A' || m.front() > 'Z' || m.back() != '.' || !printableUtf8(text))
            fail("A refusal that is not one readable sentence:", text);
        return 0;
    }

    Order opened;
    ApplySelection(*read.selection, opened);
    const Selection saved = SelectionOf(opened);
    const std::string text = SelectionText(saved);
    const SelectionReading again = ReadSelection(text);
    if (!again.selection)
        fail("A saved selection that is refused:", ProblemText(again.problem) + "\n" + text);
    if (!(*again.selection == saved))
        fail("A saved selection that reads back as another:", text);

    Order reopened;
    ApplySelection(*again.selection, reopened);
    if (OrderListText(reopened) != OrderListText(opened) || !(reopened.state == opened.state))
        fail("A saved selection that opens to another order or screen:", text);
    return 0;
}
