#include "core/selection/provenance.h"

#include "core/order/order.h"
#include "core/planning/quantity_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <string_view>

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

OrderSnapshot::OrderSnapshot(const OrderFlags& order) {
    ForEachOrderLine(order, [this](const OrderLine& line) { ordered_[line.item()] = true; });
}

void Provenance::Clear() {
    BeginRun(AssayState{});
}

void Provenance::BeginRun(const AssayState& state) {
    sources_.fill({});
    state_ = state;
}

void Provenance::MarkAdded(const OrderSnapshot& before, const OrderFlags& now, Addition how) {
    ForEachOrderLine(now, [&](const OrderLine& line) {
        if (before.ordered(line.item()))
            return;
        Sources& s = sources_[line.item()];
        s = {};
        (how == Addition::ByHand ? s.byHand : s.bySelectAll) = true;
    });
}

namespace {

void sectionReasons(const Order& order, OrderTable t, std::vector<std::string>& texts) {
    const OrderPlan& plan = order.plan;
    const bool ones = plan.AllOnes();
    SectionTexts(order, t, texts, [&](std::string& text, const OrderLine& l) {
        ProvenanceText(text, order.provenance, l.section, l.slot);
        if (ones)
            return;
        const std::size_t before = text.size();
        if (before > 0)
            text.push_back('\n');
        AppendQuantityText(text, l, plan);
        if (text.size() == before + 1)  // a line of one by default: nothing to add
            text.resize(before);
    });
}

}  // namespace

void CalibListReasons(const Order& order, std::vector<std::string>& texts) {
    sectionReasons(order, OrderTable::Calibs, texts);
}

void CtrlListReasons(const Order& order, std::vector<std::string>& texts) {
    sectionReasons(order, OrderTable::Ctrls, texts);
}

}  // namespace tovimar
