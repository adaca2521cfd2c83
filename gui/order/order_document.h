// The open order: the one Order value of the window, its undo history, and the signals that tell
// the window, the views and the order window what changed. A user's action writes into the order
// through edit() and ends with Commit(); each action that changed something is one undo step.
#pragma once

#include "core/order/order.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QUndoStack;

namespace tovimar {

// What the window shows beyond the order that a step must give back as it was: the assay boxes as
// ticked (the assay state does not say all of it: a reset keeps some rows' cut-offs while their
// options show none, and one QUAL box has no handler) and whether the lists showed the order and
// were headed since the last reset.
struct ScreenState {
    std::vector<std::uint8_t> boxes;
    bool listed = false;
    bool headed = false;
    bool operator==(const ScreenState&) const = default;
};

// One state of the work: the order and the screen around it. Shared by the two steps it lies
// between, so a history of n steps holds n + 1 of them.
struct WorkState {
    Order order;
    ScreenState screen;
};

class OrderDocument : public QObject {
    Q_OBJECT

public:
    // As many steps as are kept; the oldest goes first.
    static constexpr int kUndoLimit = 100;

    explicit OrderDocument(QObject* parent = nullptr);
    ~OrderDocument() override;

    const Order& order() const { return order_; }
    // The order a user's action is changing. The reference stays valid for the document's life:
    // undo puts values back into the same object.
    Order& edit() { return order_; }

    // What the window keeps with each step; without it the screen is kept empty. Before the first
    // step the history starts from the screen as it is then.
    void SetScreen(std::function<ScreenState()> capture);
    // Takes the order and screen as they are now as where the history starts: the start-up.
    void Rebase();
    // A user's action is about to begin: where the screen moved since the last step without the
    // order changing (help left, a view left), the next step starts from the screen as it is now,
    // so that undoing it shows what the user saw.
    void Touch();

    // One user action ended. Where the order differs from the last step's, one undo step named
    // `what` is kept and orderChanged or planChanged is emitted; a click that changed nothing keeps
    // no step. Inside a Group it waits for the group's end.
    void Commit(const QString& what);

    // The actions while a Group lives are one step, named by the outermost group: a reset unticks
    // every box through its handler, opening a file ticks each row as a click would.
    class Group {
    public:
        Group(OrderDocument& document, QString what);
        ~Group();
        Group(const Group&) = delete;
        Group& operator=(const Group&) = delete;

    private:
        OrderDocument& document_;
    };

    // The selection file the order was last opened from or saved to; empty for none.
    const QString& FilePath() const { return path_; }
    // The order as it is now is what the file at `path` holds: opened from it or saved to it.
    void SetSaved(const QString& path);
    // The order holds work of the file at `path` that is not in it: work restored after the
    // program ended without saving. No undo leads back to what the file holds.
    void SetUnsaved(const QString& path);
    // The order differs from the file's: changed since, and not undone back to it.
    bool IsModified() const;

    QUndoStack& undoStack() const { return *stack_; }
    bool CanUndo() const;
    bool CanRedo() const;
    // "Undo tick ORLAN AMPH / XTC": the menu's and the screen reader's words. Empty where there is
    // nothing to undo or redo.
    QString UndoText() const;
    QString RedoText() const;
    void Undo();
    void Redo();

signals:
    // A user's action changed the flags, the assay state or the provenance (the lists follow).
    void orderChanged();
    // A user's action changed only quantities or figures.
    void planChanged();
    // An undo or redo put a whole earlier state back: everything showing the order shows it again,
    // the screen as `screen` says. `said` is what was done ("Undone: tick ORLAN AMPH / XTC").
    void restored(const ScreenState& screen, const QString& said);
    // The file, or whether the order differs from it, changed.
    void fileChanged();

private:
    class Step;
    void restore(const std::shared_ptr<const WorkState>& state, const QString& said);
    ScreenState screenNow() const;

    Order order_;
    std::shared_ptr<const WorkState> last_;  // the state the last step left, or the start
    std::function<ScreenState()> capture_;
    QUndoStack* stack_ = nullptr;
    QString path_;
    int groupDepth_ = 0;
    QString groupWhat_;
    bool restoring_ = false;
};

}  // namespace tovimar

Q_DECLARE_METATYPE(tovimar::ScreenState)
