#include "control/document_history.h"

#include <QUndoCommand>
#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
// NaN never enters a document, but if it did it must not make every
// comparison a change.
template <typename T> bool same(T a, T b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

int clampedCount(int count, int limit)
{
    return std::clamp(count, 0, limit);
}

bool sameItem(const Item &a, const Item &b)
{
    return a.kind == b.kind && a.text == b.text && a.asymptote == b.asymptote && a.afterimage == b.afterimage &&
           a.colour == b.colour && a.penWidth == b.penWidth;
}

bool sameItems(const Document &a, const Document &b)
{
    if (a.itemCount != b.itemCount)
        return false;
    for (int i = 1; i <= clampedCount(a.itemCount, kMaxItems); ++i)
        if (!sameItem(a.items[i], b.items[i]))
            return false;
    return true;
}

bool sameDefinitions(const Document &a, const Document &b)
{
    if (a.functionCount != b.functionCount || a.constantCount != b.constantCount)
        return false;
    for (int n = 1; n <= clampedCount(a.functionCount, kMaxDefinitions); ++n)
        if (a.functionTexts[n] != b.functionTexts[n])
            return false;
    for (int n = 1; n <= clampedCount(a.constantCount, kMaxDefinitions); ++n)
        if (a.constantTexts[n] != b.constantTexts[n])
            return false;
    return true;
}

bool sameFrame(const CoordFrame &a, const CoordFrame &b)
{
    return same(a.xmin, b.xmin) && same(a.xmax, b.xmax) && same(a.ymin, b.ymin) && same(a.ymax, b.ymax);
}

bool sameParameters(const Parameters &a, const Parameters &b)
{
    return std::equal(a.value.begin(), a.value.end(), b.value.begin(), [](float x, float y) { return same(x, y); });
}
} // namespace

bool sameContent(const Document &a, const Document &b)
{
    return sameItems(a, b) && sameDefinitions(a, b) && sameFrame(a.frame, b.frame) &&
           sameParameters(a.parameters, b.parameters) && a.showGrid == b.showGrid && a.showScale == b.showScale;
}

void copyContent(Document &doc, const Document &from)
{
    doc.items = from.items;
    doc.itemCount = from.itemCount;
    doc.functionTexts = from.functionTexts;
    doc.functionCount = from.functionCount;
    doc.constantTexts = from.constantTexts;
    doc.constantCount = from.constantCount;
    doc.frame = from.frame;
    doc.parameters = from.parameters;
    doc.showGrid = from.showGrid;
    doc.showScale = from.showScale;
}

QString describeChange(const Document &before, const Document &after)
{
    using namespace step_names;
    if (!sameItems(before, after)) {
        if (after.itemCount > before.itemCount)
            return kAddRegistration;
        return after.itemCount < before.itemCount ? kDeletion : kCorrection;
    }
    if (!sameDefinitions(before, after))
        return QStringLiteral("式定義");
    if (!sameFrame(before.frame, after.frame))
        return kRange;
    if (!sameParameters(before.parameters, after.parameters))
        return kParameters;
    return before.showGrid != after.showGrid ? kGrid : kScale;
}

// One step: the document before and after it. The toolkit's stack calls redo
// as it takes the step in; the document already is in that state then.
class DocumentHistory::Step final : public QUndoCommand
{
  public:
    Step(DocumentHistory &history, const QString &name, std::shared_ptr<const Document> before,
         std::shared_ptr<const Document> after)
        : QUndoCommand(name), history_(history), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { history_.apply(before_); }
    void redo() override
    {
        if (taken_)
            history_.apply(after_);
        taken_ = true;
    }

  private:
    DocumentHistory &history_;
    std::shared_ptr<const Document> before_, after_;
    bool taken_ = false;
};

DocumentHistory::DocumentHistory(Document &doc) : doc_(doc), last_(std::make_shared<const Document>(doc))
{
    stack_.setUndoLimit(kStepLimit);
}

DocumentHistory::~DocumentHistory() = default;

void DocumentHistory::notify()
{
    if (changed)
        changed();
}

void DocumentHistory::startFrom()
{
    stack_.clear();
    last_ = std::make_shared<const Document>(doc_);
    notify();
}

bool DocumentHistory::record(const QString &label)
{
    if (!pending())
        return false;
    auto now = std::make_shared<const Document>(doc_);
    const QString name = label.isEmpty() ? describeChange(*last_, *now) : label;
    stack_.push(new Step(*this, name, last_, now));
    last_ = std::move(now);
    notify();
    return true;
}

void DocumentHistory::apply(const std::shared_ptr<const Document> &state)
{
    copyContent(doc_, *state);
    last_ = state;
}

bool DocumentHistory::undo()
{
    if (pending())
        record(describeChange(*last_, doc_));
    if (!stack_.canUndo())
        return false;
    stack_.undo();
    notify();
    return true;
}

bool DocumentHistory::redo()
{
    if (pending() || !stack_.canRedo())
        return false;
    stack_.redo();
    notify();
    return true;
}

QString DocumentHistory::undoName() const
{
    if (pending())
        return describeChange(*last_, doc_);
    return stack_.canUndo() ? stack_.undoText() : QString();
}

QString DocumentHistory::redoName() const
{
    return canRedo() ? stack_.redoText() : QString();
}

} // namespace gq
