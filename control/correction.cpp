#include "control/correction.h"

#include "control/definition_keys.h"
#include "control/document_history.h"
#include "control/formula_edit.h"
#include "control/item_list_panel.h"
#include "model/definitions.h"
#include <algorithm>

namespace gq
{

namespace
{
// Labels of the four fields by kind; an empty label hides the field.
struct KindFields {
    const char *label[5];
};

KindFields fieldsOf(uint8_t kind)
{
    switch (kind) {
    case KindParametric:
        return {{"", "式１", "式２", "範囲", "～"}};
    case KindPolar:
        return {{"", "式１", "", "範囲", "～"}};
    case KindPoint:
        return {{"", "式１", "式２", "", ""}};
    case KindSegment:
        return {{"", "式１", "式２", "式３", "式４"}};
    default:
        return {{"", "式１", "", "", ""}};
    }
}

// Keyboard caption of a field other than equ1 (whose caption is the kind name).
QString fieldCaption(uint8_t kind, int field)
{
    if (field == FieldEqu2) {
        if (kind == KindParametric)
            return QStringLiteral("媒介変数の　y＝ｇ(ｔ)　の訂正");
        if (kind == KindPoint)
            return QStringLiteral("点のｙ座標の訂正");
        return QStringLiteral("点Ｐのｙ座標の訂正");
    }
    if (kind == KindSegment)
        return field == FieldMin ? QStringLiteral("点Ｑのｘ座標の訂正")
                                 : QStringLiteral("点Ｑのｙ座標の訂正");
    return field == FieldMin ? QStringLiteral("範囲の下限の入力") : QStringLiteral("範囲の上限の入力");
}

// The keys an item's formulas may use. Registration leaves t and i on, so the
// kinds that do not mention them get them on.
void itemKeys(KeyboardRequest &request, uint8_t kind)
{
    request.keyT = true;
    request.keyI = true;
    request.keysSgnGaus = true;
    switch (kind) {
    case KindExplicit:
        request.keysXYZ = true;
        break;
    case KindImplicit:
        request.keysXYZ = true;
        request.keysSgnGaus = false;
        break;
    case KindPoint: // coordinates of a point, as in its registration: no x, y, z, t
        request.keysXYZ = false;
        request.keyT = false;
        break;
    default: // parametric, polar, segment
        request.keysXYZ = false;
        request.keysSgnGaus = false;
        break;
    }
}
} // namespace

CorrectionSession::CorrectionSession(DefinitionContext context) : ctx_(std::move(context)) {}

int CorrectionSession::count() const
{
    switch (mode_) {
    case CorrectFunctions:
        return ctx_.doc.functionCount;
    case CorrectConstants:
        return ctx_.doc.constantCount;
    default:
        return ctx_.doc.itemCount;
    }
}

bool CorrectionSession::open(int mode)
{
    mode_ = (mode == CorrectFunctions || mode == CorrectConstants) ? mode : CorrectItems;
    number_ = 1;
    open_ = count() >= 1;
    return open_;
}

void CorrectionSession::setNumber(int number)
{
    number_ = std::clamp(number, 1, std::max(count(), 1));
}

Item &CorrectionSession::shownItem() const
{
    return ctx_.doc.items[std::clamp(number_, 1, kMaxItems)];
}

void CorrectionSession::listChanged()
{
    if (ctx_.listChanged)
        ctx_.listChanged();
}

CorrectionView CorrectionSession::currentView() const
{
    CorrectionView view;
    view.number = number_;
    view.count = count();
    view.numberLabel = QStringLiteral("登録Ｎｏ.=  %1").arg(number_);
    if (mode_ != CorrectItems) {
        const bool function = mode_ == CorrectFunctions;
        view.kindLabel = function ? QStringLiteral("定義関数") : QStringLiteral("定義定数");
        CorrectionFieldView &equ1 = view.fields[FieldEqu1];
        equ1 = {true, true, QStringLiteral("式１"),
                function ? ctx_.doc.functionText(number_) : ctx_.doc.constantText(number_)};
        return view;
    }
    const Item &item = shownItem();
    view.kindLabel = kindName(item.kind);
    const KindFields fields = fieldsOf(item.kind);
    for (int f = FieldEqu1; f <= FieldMax; ++f) {
        CorrectionFieldView &field = view.fields[f];
        field.visible = *fields.label[f] != '\0';
        field.editable = field.visible && item.kind != KindDerivative;
        field.label = field.visible ? QString::fromUtf8(fields.label[f]) : QString();
        field.text = field.visible ? item.text[f] : std::string();
    }
    view.itemControls = true;
    view.colour = item.colour;
    view.zanIndex = item.afterimage ? 0 : 1;
    view.penwIndex = std::clamp(int(item.penWidth), 1, 3) - 1;
    return view;
}

KeyboardRequest CorrectionSession::fieldRequest(int field) const
{
    if (mode_ == CorrectFunctions)
        return correctFunctionRequest(ctx_.doc, number_);
    if (mode_ == CorrectConstants)
        return correctConstantRequest(ctx_.doc, number_);
    const Item &item = shownItem();
    KeyboardRequest request;
    offerDefinitionKeys(request, ctx_.doc);
    itemKeys(request, item.kind);
    request.caption = field == FieldEqu1 ? kindName(item.kind) : fieldCaption(item.kind, field);
    const bool bound = (field == FieldMin || field == FieldMax) && item.kind != KindSegment;
    request.layout = bound ? 0 : 1;
    request.initialText = item.text[std::clamp(field, 1, 4)];
    return request;
}

bool CorrectionSession::editField(int field)
{
    if (!open_ || field < FieldEqu1 || field > FieldMax)
        return false;
    bool changed = false;
    if (mode_ != CorrectItems)
        changed = field == FieldEqu1 && editDefinition();
    else if (currentView().fields[field].editable)
        changed = editItemField(field);
    finishStep(ctx_, step_names::kCorrection);
    return changed;
}

namespace
{
// Recomputes a derivative in place 2 from item 1 in the trial document;
// refuses the edit when it cannot be formed.
QString refreshDerivative(Document &trial)
{
    if (trial.itemCount < 2 || trial.items[2].kind != KindDerivative)
        return QString();
    QString message;
    auto derivative = derivativeWithDefinitions(trial, trial.items[1].text[1], &message);
    if (!derivative)
        return message;
    trial.items[2].text[1] = *derivative;
    return QString();
}
} // namespace

bool CorrectionSession::editItemField(int field)
{
    const int p = number_;
    Document accepted;
    auto text = askUntilAccepted(ctx_.questions, fieldRequest(field), false, [&](const std::string &answer) {
        Document trial = ctx_.doc;
        Item &item = trial.items[p];
        item.text[field] = answer;
        if (field == FieldEqu1 && item.kind == KindPolar)
            item.text[2] = answer; // a polar item keeps its formula twice
        QString message = checkWithDefinitions(trial, answer);
        if (message.isEmpty() && field == FieldEqu1 && p == 1)
            message = refreshDerivative(trial);
        if (message.isEmpty())
            accepted = trial;
        return message;
    });
    if (!text)
        return false;
    for (int i = 1; i <= ctx_.doc.itemCount; ++i)
        ctx_.doc.items[i].text = accepted.items[i].text;
    listChanged();
    return true;
}

bool CorrectionSession::editDefinition()
{
    const bool function = mode_ == CorrectFunctions;
    const char prefix = function ? kFunctionPrefix : kConstantPrefix;
    const int n = number_;
    std::string derivative;
    auto text =
        askUntilAccepted(ctx_.questions, fieldRequest(FieldEqu1), false, [&](const std::string &answer) {
            QString message = checkDefinitionText(ctx_.doc, prefix, n, answer);
            if (!message.isEmpty())
                return message;
            // A derivative item holds its formula written out: it follows the new
            // definition as it would follow a corrected item 1.
            Document trial = ctx_.doc;
            (function ? trial.functionTexts : trial.constantTexts)[n] = answer;
            message = refreshDerivative(trial);
            if (message.isEmpty() && trial.itemCount >= 2)
                derivative = trial.items[2].text[1];
            return message;
        });
    if (!text)
        return false;
    (function ? ctx_.doc.functionTexts : ctx_.doc.constantTexts)[n] = *text;
    if (ctx_.doc.itemCount >= 2 && ctx_.doc.items[2].kind == KindDerivative)
        ctx_.doc.items[2].text[1] = derivative;
    listChanged();
    return true;
}

bool CorrectionSession::changeColour()
{
    if (!open_ || mode_ != CorrectItems)
        return false;
    Item &item = shownItem();
    const uint32_t old = item.colour;
    ctx_.panel.release(old); // choosing the same colour again is allowed
    const ColourPanelState offered = ctx_.panel;
    uint32_t chosen = ctx_.questions.chooseColour(ctx_.panel);
    if (!offered.isOffered(chosen))
        chosen = old; // never a colour another item has
    ctx_.panel.take(chosen);
    item.colour = chosen;
    listChanged();
    finishStep(ctx_, step_names::kCorrection);
    return chosen != old;
}

void CorrectionSession::setAfterimage(int zanIndex)
{
    if (open_ && mode_ == CorrectItems)
        shownItem().afterimage = zanIndex == 0 ? 1 : 0;
    finishStep(ctx_, step_names::kCorrection);
}

void CorrectionSession::setPenWidth(int penwIndex)
{
    if (open_ && mode_ == CorrectItems)
        shownItem().penWidth = static_cast<uint8_t>(std::clamp(penwIndex, 0, 2) + 1);
    finishStep(ctx_, step_names::kCorrection);
}

bool CorrectionSession::deleteCurrent()
{
    if (!open_)
        return false;
    bool deleted = false;
    if (mode_ == CorrectFunctions)
        deleted = confirmDeleteFunction(ctx_, number_);
    else if (mode_ == CorrectConstants)
        deleted = confirmDeleteConstant(ctx_, number_);
    else if (ctx_.questions.confirm(WarnCurrentItem)) {
        // Item 1 takes its derivative with it; the window then shows the item
        // now at number 1.
        if (removeItemWithDerivative(ctx_.doc, ctx_.panel, number_) == 2)
            number_ = 1;
        deleted = true;
        listChanged();
        finishStep(ctx_, step_names::kDeletion);
    }
    if (!deleted)
        return false;
    if (count() == 0)
        open_ = false;
    else
        setNumber(number_);
    return true;
}

} // namespace gq
