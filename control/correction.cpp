#include "control/correction.h"

#include "control/definition_keys.h"
#include "control/formula_edit.h"
#include "control/item_list_panel.h"
#include "model/definitions.h"
#include <algorithm>

namespace
{
// Labels of the four fields by kind; an empty label hides the field.
struct KindFields {
    const char *label[5];
};

KindFields FieldsOf(uint8_t kind)
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
QString FieldCaption(uint8_t kind, int field)
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
void ItemKeys(KeyboardRequest &request, uint8_t kind)
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

int CorrectionSession::Count() const
{
    switch (mode_) {
    case CorrectFunctions:
        return ctx_.doc.DefFuncCount;
    case CorrectConstants:
        return ctx_.doc.DefConstCount;
    default:
        return ctx_.doc.ItemCount;
    }
}

bool CorrectionSession::Open(int mode)
{
    mode_ = (mode == CorrectFunctions || mode == CorrectConstants) ? mode : CorrectItems;
    number_ = 1;
    open_ = Count() >= 1;
    return open_;
}

void CorrectionSession::SetNumber(int number)
{
    number_ = std::clamp(number, 1, std::max(Count(), 1));
}

Tfuncprop &CorrectionSession::Item() const
{
    return ctx_.doc.ItemList[std::clamp(number_, 1, kMaxItems)];
}

void CorrectionSession::ListChanged()
{
    if (ctx_.listChanged)
        ctx_.listChanged();
}

CorrectionView CorrectionSession::View() const
{
    CorrectionView view;
    view.number = number_;
    view.count = Count();
    view.numberLabel = QStringLiteral("登録Ｎｏ.=  %1").arg(number_);
    if (mode_ != CorrectItems) {
        const bool function = mode_ == CorrectFunctions;
        view.kindLabel = function ? QStringLiteral("定義関数") : QStringLiteral("定義定数");
        CorrectionFieldView &equ1 = view.fields[FieldEqu1];
        equ1 = {true, true, QStringLiteral("式１"),
                function ? ctx_.doc.FunctionText(number_) : ctx_.doc.ConstantText(number_)};
        return view;
    }
    const Tfuncprop &item = Item();
    view.kindLabel = KindName(item.kind);
    const KindFields fields = FieldsOf(item.kind);
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

KeyboardRequest CorrectionSession::FieldRequest(int field) const
{
    if (mode_ == CorrectFunctions)
        return CorrectFunctionRequest(ctx_.doc, number_);
    if (mode_ == CorrectConstants)
        return CorrectConstantRequest(ctx_.doc, number_);
    const Tfuncprop &item = Item();
    KeyboardRequest request;
    OfferDefinitionKeys(request, ctx_.doc);
    ItemKeys(request, item.kind);
    request.caption = field == FieldEqu1 ? KindName(item.kind) : FieldCaption(item.kind, field);
    const bool bound = (field == FieldMin || field == FieldMax) && item.kind != KindSegment;
    request.layout = bound ? 0 : 1;
    request.initialText = item.text[std::clamp(field, 1, 4)];
    return request;
}

bool CorrectionSession::EditField(int field)
{
    if (!open_ || field < FieldEqu1 || field > FieldMax)
        return false;
    if (mode_ != CorrectItems)
        return field == FieldEqu1 && EditDefinition();
    const CorrectionView view = View();
    if (!view.fields[field].editable)
        return false;
    return EditItemField(field);
}

namespace
{
// Recomputes a derivative in place 2 from item 1 in the trial document;
// refuses the edit when it cannot be formed.
QString RefreshDerivative(Document &trial)
{
    if (trial.ItemCount < 2 || trial.ItemList[2].kind != KindDerivative)
        return QString();
    auto derivative = DerivativeWithDefinitions(trial, trial.ItemList[1].text[1]);
    if (!derivative)
        return WrongFormulaMessage();
    trial.ItemList[2].text[1] = *derivative;
    return QString();
}
} // namespace

bool CorrectionSession::EditItemField(int field)
{
    const int p = number_;
    Document accepted;
    auto text = AskUntilAccepted(ctx_.questions, FieldRequest(field), false, [&](const std::string &answer) {
        Document trial = ctx_.doc;
        Tfuncprop &item = trial.ItemList[p];
        item.text[field] = answer;
        if (field == FieldEqu1 && item.kind == KindPolar)
            item.text[2] = answer; // a polar item keeps its formula twice
        QString message = CheckWithDefinitions(trial, answer);
        if (message.isEmpty() && field == FieldEqu1 && p == 1)
            message = RefreshDerivative(trial);
        if (message.isEmpty())
            accepted = trial;
        return message;
    });
    if (!text)
        return false;
    for (int i = 1; i <= ctx_.doc.ItemCount; ++i)
        ctx_.doc.ItemList[i].text = accepted.ItemList[i].text;
    ListChanged();
    return true;
}

bool CorrectionSession::EditDefinition()
{
    const bool function = mode_ == CorrectFunctions;
    const char prefix = function ? kFunctionPrefix : kConstantPrefix;
    const int n = number_;
    std::string derivative;
    auto text =
        AskUntilAccepted(ctx_.questions, FieldRequest(FieldEqu1), false, [&](const std::string &answer) {
            QString message = CheckDefinitionText(ctx_.doc, prefix, n, answer);
            if (!message.isEmpty())
                return message;
            // A derivative item holds its formula written out: it follows the new
            // definition as it would follow a corrected item 1.
            Document trial = ctx_.doc;
            (function ? trial.DefFuncText : trial.DefConstText)[n] = answer;
            message = RefreshDerivative(trial);
            if (message.isEmpty() && trial.ItemCount >= 2)
                derivative = trial.ItemList[2].text[1];
            return message;
        });
    if (!text)
        return false;
    (function ? ctx_.doc.DefFuncText : ctx_.doc.DefConstText)[n] = *text;
    if (ctx_.doc.ItemCount >= 2 && ctx_.doc.ItemList[2].kind == KindDerivative)
        ctx_.doc.ItemList[2].text[1] = derivative;
    ListChanged();
    return true;
}

bool CorrectionSession::ChangeColour()
{
    if (!open_ || mode_ != CorrectItems)
        return false;
    Tfuncprop &item = Item();
    const uint32_t old = item.colour;
    ctx_.panel.Release(old); // choosing the same colour again is allowed
    const ColourPanelState offered = ctx_.panel;
    uint32_t chosen = ctx_.questions.ChooseColour(ctx_.panel);
    if (!offered.IsOffered(chosen))
        chosen = old; // never a colour another item has
    ctx_.panel.Take(chosen);
    item.colour = chosen;
    ListChanged();
    return chosen != old;
}

void CorrectionSession::SetAfterimage(int zanIndex)
{
    if (open_ && mode_ == CorrectItems)
        Item().afterimage = zanIndex == 0 ? 1 : 0;
}

void CorrectionSession::SetPenWidth(int penwIndex)
{
    if (open_ && mode_ == CorrectItems)
        Item().penWidth = static_cast<uint8_t>(std::clamp(penwIndex, 0, 2) + 1);
}

bool CorrectionSession::DeleteCurrent()
{
    if (!open_)
        return false;
    bool deleted = false;
    if (mode_ == CorrectFunctions)
        deleted = ConfirmDeleteFunction(ctx_, number_);
    else if (mode_ == CorrectConstants)
        deleted = ConfirmDeleteConstant(ctx_, number_);
    else if (ctx_.questions.Confirm(WarnCurrentItem)) {
        // Item 1 takes its derivative with it; the window then shows the item
        // now at number 1.
        if (RemoveItemWithDerivative(ctx_.doc, ctx_.panel, number_) == 2)
            number_ = 1;
        deleted = true;
        ListChanged();
    }
    if (!deleted)
        return false;
    if (Count() == 0)
        open_ = false;
    else
        SetNumber(number_);
    return true;
}
