#include "gui/order/order_document.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <utility>

namespace tovimar {

// A step holds the states before and after; pushing it does not apply it again. Quantities and
// figures typed into the same field one after the other (a spin box's arrows, a number typed digit
// by digit) are one step, and none where they end where they began. The details, given in a window
// with its own OK, are a step each time.
class OrderDocument::Step : public QUndoCommand {
public:
    Step(OrderDocument& document, const QString& what, std::shared_ptr<const WorkState> before,
         std::shared_ptr<const WorkState> after, bool mergeable)
        : QUndoCommand(what), document_(document), before_(std::move(before)), after_(std::move(after)),
          mergeable_(mergeable) {}

    int id() const override { return mergeable_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const Step*>(other);
        if (next->text() != text())
            return false;
        after_ = next->after_;
        // Typed back to where it started: no step is left.
        setObsolete(after_->order == before_->order);
        return true;
    }

    void undo() override { document_.restore(before_, QStringLiteral("Undone: ") + text()); }
    void redo() override {
        if (pushed_)
            document_.restore(after_, QStringLiteral("Redone: ") + text());
        pushed_ = true;
    }

private:
    OrderDocument& document_;
    std::shared_ptr<const WorkState> before_, after_;
    bool mergeable_;
    bool pushed_ = false;
};

OrderDocument::OrderDocument(QObject* parent)
    : QObject(parent), last_(std::make_shared<const WorkState>()), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoLimit);
    connect(stack_, &QUndoStack::cleanChanged, this, &OrderDocument::fileChanged);
}

OrderDocument::~OrderDocument() {
    // The steps call back into the document: they go before its members do.
    delete stack_;
}

void OrderDocument::SetScreen(std::function<ScreenState()> capture) {
    capture_ = std::move(capture);
    if (stack_->count() == 0)
        Rebase();
}

ScreenState OrderDocument::screenNow() const {
    return capture_ ? capture_() : ScreenState{};
}

void OrderDocument::Rebase() {
    last_ = std::make_shared<const WorkState>(WorkState{order_, screenNow()});
}

void OrderDocument::Touch() {
    if (groupDepth_ > 0 || restoring_ || !capture_)
        return;
    ScreenState now = capture_();
    if (!(now == last_->screen) && order_ == last_->order)
        last_ = std::make_shared<const WorkState>(WorkState{order_, std::move(now)});
}

void OrderDocument::Commit(const QString& what) {
    if (restoring_)
        return;
    if (groupDepth_ > 0)
        return;
    auto now = std::make_shared<WorkState>(WorkState{order_, screenNow()});
    if (now->order == last_->order) {
        // Nothing of the order changed; the screen may have (a box without a handler): the next
        // step starts from it.
        if (!(now->screen == last_->screen))
            last_ = std::move(now);
        return;
    }
    const bool orderPart =
        static_cast<const OrderFlags&>(now->order) != static_cast<const OrderFlags&>(last_->order) ||
        now->order.state != last_->order.state || now->order.provenance != last_->order.provenance;
    const bool mergeable = !orderPart && now->order.details == last_->order.details;
    std::shared_ptr<const WorkState> before = std::exchange(last_, std::move(now));
    stack_->push(new Step(*this, what, std::move(before), last_, mergeable));
    if (orderPart)
        emit orderChanged();
    else
        emit planChanged();
}

OrderDocument::Group::Group(OrderDocument& document, QString what) : document_(document) {
    if (document_.groupDepth_++ == 0)
        document_.groupWhat_ = std::move(what);
}

OrderDocument::Group::~Group() {
    if (--document_.groupDepth_ == 0)
        document_.Commit(document_.groupWhat_);
}

void OrderDocument::SetSaved(const QString& path) {
    path_ = path;
    stack_->setClean();
    emit fileChanged();
}

void OrderDocument::SetUnsaved(const QString& path) {
    path_ = path;
    stack_->resetClean();
    emit fileChanged();
}

bool OrderDocument::IsModified() const {
    return !path_.isEmpty() && !stack_->isClean();
}

bool OrderDocument::CanUndo() const {
    return stack_->canUndo();
}

bool OrderDocument::CanRedo() const {
    return stack_->canRedo();
}

QString OrderDocument::UndoText() const {
    return CanUndo() ? QStringLiteral("Undo ") + stack_->undoText() : QString();
}

QString OrderDocument::RedoText() const {
    return CanRedo() ? QStringLiteral("Redo ") + stack_->redoText() : QString();
}

void OrderDocument::Undo() {
    if (groupDepth_ == 0)
        stack_->undo();
}

void OrderDocument::Redo() {
    if (groupDepth_ == 0)
        stack_->redo();
}

void OrderDocument::restore(const std::shared_ptr<const WorkState>& state, const QString& said) {
    order_ = state->order;
    last_ = state;
    // The views put the screen back through their own handlers' quiet paths; nothing they do while
    // showing it is a user's action.
    restoring_ = true;
    emit restored(state->screen, said);
    restoring_ = false;
}

}  // namespace tovimar
