// The document's history on its own: what a commit keeps, what it says changed, groups, merging
// of figures typed into one field, the limit, and undo and redo giving back exactly what was.
#include "core/selection/rules.h"
#include "gui/order/order_document.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using namespace tovimar;

class OrderDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void commitsKeepChangesOnlyAndSayWhichPart() {
        OrderDocument doc;
        QSignalSpy order(&doc, &OrderDocument::orderChanged), plan(&doc, &OrderDocument::planChanged);
        doc.Commit(QStringLiteral("nothing"));
        QCOMPARE(doc.undoStack().count(), 0);

        doc.edit().state.SetSelected(AssayRow::OrlanAmphXtc, true);
        update(doc.edit());
        doc.Commit(QStringLiteral("tick"));
        QVERIFY(doc.edit().plan.SetTyped(OrderTable::Calibs, "5001 005", 3));
        doc.Commit(QStringLiteral("quantity"));
        QCOMPARE(order.count(), 1);
        QCOMPARE(plan.count(), 1);
        QCOMPARE(doc.undoStack().count(), 2);
        QCOMPARE(doc.UndoText(), QStringLiteral("Undo quantity"));
        QCOMPARE(doc.RedoText(), QString());
    }

    void undoAndRedoGiveBackTheExactStateAndScreen() {
        OrderDocument doc;
        std::vector<std::uint8_t> boxes{0};
        doc.SetScreen([&boxes] { return ScreenState{boxes, !boxes.empty() && boxes[0] != 0, false}; });
        std::vector<Order> seen{doc.order()};
        for (AssayRow r : {AssayRow::OrlanAmphXtc, AssayRow::VexEtg, AssayRow::OrlanCoc}) {
            doc.edit().state.SetSelected(r, true);
            update(doc.edit());
            boxes.push_back(1);
            doc.Commit(QStringLiteral("tick"));
            seen.push_back(doc.order());
        }
        QSignalSpy restored(&doc, &OrderDocument::restored);
        for (int k = 2; k >= 0; --k) {
            doc.Undo();
            QVERIFY(doc.order() == seen[static_cast<std::size_t>(k)]);
            QCOMPARE(restored.last().at(0).value<ScreenState>().boxes.size(), std::size_t(k) + 1);
        }
        QCOMPARE(restored.last().at(1).toString(), QStringLiteral("Undone: tick"));
        doc.Undo();  // nothing left: nothing happens
        QCOMPARE(restored.count(), 3);
        doc.Redo();
        doc.Redo();
        QVERIFY(doc.order() == seen[2]);
        QCOMPARE(restored.last().at(1).toString(), QStringLiteral("Redone: tick"));
        // A new change after an undo drops what could have been redone.
        doc.edit().plan.SetWorkload({2, 0, 0, 0});
        doc.Commit(QStringLiteral("months"));
        QVERIFY(!doc.CanRedo());
    }

    void groupsAreOneStepAndFiguresInOneFieldMerge() {
        OrderDocument doc;
        QSignalSpy order(&doc, &OrderDocument::orderChanged);
        {
            const OrderDocument::Group reset(doc, QStringLiteral("reset"));
            for (AssayRow r : {AssayRow::OrlanAmphXtc, AssayRow::VexEtg}) {
                doc.edit().state.SetSelected(r, true);
                update(doc.edit());
                doc.Commit(QStringLiteral("tick"));
            }
        }
        QCOMPARE(doc.undoStack().count(), 1);
        QCOMPARE(order.count(), 1);
        QCOMPARE(doc.UndoText(), QStringLiteral("Undo reset"));
        for (int months = 2; months <= 5; ++months) {
            doc.edit().plan.SetWorkload({months, 0, 0, 0});
            doc.Commit(QStringLiteral("months"));
        }
        doc.edit().plan.SetWorkload({5, 10, 0, 0});
        doc.Commit(QStringLiteral("runs a month"));
        QCOMPARE(doc.undoStack().count(), 3);
        doc.Undo();
        doc.Undo();
        QCOMPARE(doc.order().plan.workload().months, 1);
        // Typed back to where it began: the step goes, the one before it stays on top.
        for (int runs : {20, 0}) {
            doc.edit().plan.SetWorkload({1, runs, 0, 0});
            doc.Commit(QStringLiteral("runs a month"));
        }
        QCOMPARE(doc.UndoText(), QStringLiteral("Undo reset"));
    }

    void keepsTheLastHundredSteps() {
        OrderDocument doc;
        for (int k = 0; k < 2 * OrderDocument::kUndoLimit; ++k) {
            doc.edit().state.SetSelected(AssayRow::OrlanAmphXtc, k % 2 == 0);
            doc.Commit(QStringLiteral("tick %1").arg(k));
        }
        QCOMPARE(doc.undoStack().count(), OrderDocument::kUndoLimit);
        while (doc.CanUndo())
            doc.Undo();
        // The oldest state left is the one after the hundredth change (k = 99): unticked.
        QCOMPARE(doc.order().state.ticked(AssayRow::OrlanAmphXtc), false);
    }
};

QTEST_MAIN(OrderDocumentTest)
#include "order_document_test.moc"
