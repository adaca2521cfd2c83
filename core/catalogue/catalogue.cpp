#include "core/catalogue/catalogue_rows.h"
#include "core/catalogue/records.h"

namespace tovimar {

void LoadReagents(Catalogue& cat) {
    for (int k = 1; k <= AssayTable::kFilled; ++k) {
        const ReagentRow& row = kReagentRows[static_cast<std::size_t>(k - 1)];
        mAssay& a = cat.Assays[k];
        a.OrderNo1 = row.OrderNo1;
        a.OrderNo2 = row.OrderNo2;
        a.Name1 = row.Name1;
        a.Name2 = row.Name2;
    }
}

void LoadCalibrators(Catalogue& cat) {
    for (int k = 1; k <= CalibTable::kFilled; ++k) {
        const CalibRow& row = kCalibRows[static_cast<std::size_t>(k - 1)];
        mCalib& c = cat.Calibs[k];
        c.OrderNo1 = row.OrderNo1;
        c.OrderNo2 = row.OrderNo2;
        c.Name = row.Name;
        c.Pack1 = row.Pack1;
        c.Pack2 = row.Pack2;
    }
}

void LoadControls(Catalogue& cat) {
    for (int k = 1; k <= CtrlTable::kFilled; ++k) {
        const CtrlRow& row = kCtrlRows[static_cast<std::size_t>(k - 1)];
        mCTRL& c = cat.Ctrls[k];
        c.OrderNo = row.OrderNo;
        c.Name = row.Name;
    }
}

void LoadCatalogue(Catalogue& cat) {
    LoadReagents(cat);
    LoadControls(cat);
    LoadCalibrators(cat);
}

const Catalogue& TheCatalogue() {
    static const Catalogue cat = [] {
        Catalogue c;
        LoadCatalogue(c);
        return c;
    }();
    return cat;
}

}  // namespace tovimar
