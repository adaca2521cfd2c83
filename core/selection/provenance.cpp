#include "core/selection/provenance.h"

#include <bit>
#include <charconv>
#include <string_view>
#include <type_traits>

namespace tovimar {

namespace {

std::string_view frameName(Frame f) {
    switch (f) {
    case Frame::Orlan:
        return "ORLAN";
    case Frame::Vex:
        return "VEX";
    case Frame::Tox:
        return "Serum TOX";
    case Frame::Adult:
        break;
    }
    return "Adulteration";
}

// The caption without the blanks some captions carry at their end ("BARBITURATES ").
std::string_view trimmedCaption(std::string_view caption) {
    const std::size_t end = caption.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : caption.substr(0, end + 1);
}

// The cut-off as its option shows it ("0.5", "500"); a value no option offers as the shortest
// text that reads back as the same number.
void appendCut(std::string& out, const AssayRowDef& def, double v) {
    for (const CutOption& o : def.options())
        if (o.value == v) {
            out.append(o.caption);
            return;
        }
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, ec == std::errc{} ? end : buf);
}

void appendReason(std::string& out, AssayRow row, const RowState& state) {
    const AssayRowDef& def = RowDef(row);
    out.append(frameName(def.frame));
    out.push_back(' ');
    out.append(trimmedCaption(def.caption));
    out.append(" (");
    if (!def.hasOptions()) {
        out.append("no cut-off");
    } else if (state.Cut == 0.0) {
        out.append("no cut-off chosen");  // ticked, still waiting for an option
    } else {
        out.append("cut-off ");
        appendCut(out, def, state.Cut);
    }
    // A row without a QUAL box has no mode to speak of.
    if (def.hasQual())
        out.append(state.Qual ? ", QUAL" : ", full");
    out.push_back(')');
}

// Every row's text for each of its cut-offs (none chosen, then its options) in full and QUAL mode,
// made once: the lists are refilled on every click and name the same rows over and over.
class RowTexts {
public:
    RowTexts() {
        for (const AssayRowDef& def : AssayRows()) {
            Row& row = rows_[index(def.key)];
            row.optionCount = def.optionCount;
            for (std::size_t cut = 0; cut <= def.optionCount; ++cut) {
                const double value = cut == 0 ? 0.0 : def.options()[cut - 1].value;
                if (cut > 0)
                    row.values[cut - 1] = value;
                for (bool qual : {false, true})
                    appendReason(row.texts[cut * 2 + qual], def.key, RowState{true, qual, value});
            }
        }
    }
    // False for a cut-off that none of the row's options offers.
    bool append(std::string& out, AssayRow r, const RowState& state) const {
        const Row& row = rows_[index(r)];
        std::size_t cut = 0;
        if (state.Cut != 0.0) {
            while (cut < row.optionCount && row.values[cut] != state.Cut)
                ++cut;
            if (cut == row.optionCount)
                return false;
            ++cut;
        }
        out.append(row.texts[cut * 2 + (state.Qual ? 1 : 0)]);
        return true;
    }

private:
    struct Row {
        std::size_t optionCount = 0;
        std::array<double, 3> values{};
        std::array<std::string, 8> texts;  // [cut * 2 + qual], cut 0 = none chosen
    };
    std::array<Row, kAssayRowCount> rows_;
};

void appendRowText(std::string& out, AssayRow row, const RowState& state) {
    static const RowTexts texts;
    if (!texts.append(out, row, state))
        appendReason(out, row, state);
}

}  // namespace

void ProvenanceText(std::string& out, const Provenance& p, OrderTable t, int slot) {
    out.clear();
    const Provenance::Sources& src = p.Of(t, slot);
    if (src.rows != 0) {
        out.append(t == OrderTable::Ctrls ? "Suggested for " : "Required by ");
        // The rows in the order the panel shows them, joined as a sentence: "A, B and C".
        for (std::uint64_t rest = src.rows; rest != 0;) {
            const auto row = static_cast<AssayRow>(std::countr_zero(rest));
            appendRowText(out, row, p.RowAtRun(row));
            rest &= rest - 1;
            if (rest != 0)
                out.append((rest & (rest - 1)) == 0 ? " and " : ", ");
        }
    }
    // The additions only ever mark slots that were not in the order, so at most one of the three
    // applies; should two ever meet, both are said.
    const auto say = [&out](std::string_view sentence) {
        if (!out.empty())
            out.append("; ");
        out.append(sentence);
    };
    if (src.byHand)
        say("Added by hand");
    if (src.bySelectAll)
        say("Added by select all");
}

namespace {

template <typename Table>
void listReasons(const Table& table, OrderTable t, const Provenance& p, std::vector<std::string>& texts) {
    std::size_t n = 0;
    for (int slot = 1; slot <= Table::kFilled; ++slot) {
        if (!InOrder(table[slot]))
            continue;
        if (n == texts.size())
            texts.emplace_back();
        ProvenanceText(texts[n++], p, t, slot);
    }
    texts.resize(n);
}

template <std::size_t N, typename Table>
void snapshot(std::array<bool, N>& out, const Table& table) {
    for (std::size_t i = 0; i < N; ++i)
        out[i] = InOrder(table[static_cast<int>(i) + 1]);
}

template <std::size_t N>
bool ordered(const std::array<bool, N>& table, int slot) {
    if (slot < 1 || static_cast<std::size_t>(slot) > N)
        throw std::out_of_range("order snapshot slot " + std::to_string(slot));
    return table[static_cast<std::size_t>(slot - 1)];
}

}  // namespace

OrderSnapshot::OrderSnapshot(const Catalogue& cat) {
    snapshot(calibs_, cat.Calibs);
    snapshot(ctrls_, cat.Ctrls);
    snapshot(assays_, cat.Assays);
}

bool OrderSnapshot::ordered(OrderTable t, int slot) const {
    switch (t) {
    case OrderTable::Calibs:
        return tovimar::ordered(calibs_, slot);
    case OrderTable::Ctrls:
        return tovimar::ordered(ctrls_, slot);
    case OrderTable::Assays:
        break;
    }
    return tovimar::ordered(assays_, slot);
}

void Provenance::Clear() {
    BeginRun(AssayState{});
}

void Provenance::BeginRun(const AssayState& state) {
    calibs_.fill({});
    ctrls_.fill({});
    assays_.fill({});
    state_ = state;
}

void Provenance::MarkAdded(const OrderSnapshot& before, const Catalogue& now, Addition how) {
    const auto mark = [&](OrderTable t, const auto& table) {
        for (int slot = 1; slot <= std::remove_cvref_t<decltype(table)>::kFilled; ++slot) {
            if (!InOrder(table[slot]) || before.ordered(t, slot))
                continue;
            Sources& s = at(*this, t, slot);
            s = {};
            (how == Addition::ByHand ? s.byHand : s.bySelectAll) = true;
        }
    };
    mark(OrderTable::Calibs, now.Calibs);
    mark(OrderTable::Ctrls, now.Ctrls);
    mark(OrderTable::Assays, now.Assays);
}

void CalibListReasons(const Catalogue& cat, const Provenance& p, std::vector<std::string>& texts) {
    listReasons(cat.Calibs, OrderTable::Calibs, p, texts);
}

void CtrlListReasons(const Catalogue& cat, const Provenance& p, std::vector<std::string>& texts) {
    listReasons(cat.Ctrls, OrderTable::Ctrls, p, texts);
}

}  // namespace tovimar
