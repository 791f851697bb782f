#include "control/graph_controller.h"

#include "control/definition_keys.h"
#include "engine/differentiate.h"
#include "engine/evaluate.h"
#include "engine/parse.h"
#include <algorithm>

namespace
{
// Answers every question as cancelled: the state before the dialogs exist.
class CancellingQuestions final : public Questions
{
  public:
    std::string AskKeyboard(const KeyboardRequest &) override { return {}; }
    uint32_t ChooseColour(ColourPanelState &) override { return kItemColours[0]; }
    bool Confirm(int) override { return false; }
    void ShowMessage(const QString &) override {}
};
CancellingQuestions g_cancelling;

// Numeric layout of the keyboard for bounds that may hold parameters.
constexpr int kLayoutNumber = 0;
constexpr int kLayoutFormula = 1;
constexpr int kLayoutPlainNumber = 2;
} // namespace

GraphController::GraphController(Document &doc, ListSurface &list) : doc_(doc), painter_(list) {}

void GraphController::SetQuestions(Questions *questions)
{
    questions_ = questions;
}

Questions &GraphController::Ask()
{
    return questions_ ? *questions_ : g_cancelling;
}

void GraphController::Changed()
{
    if (OnChange)
        OnChange();
}

void GraphController::ResetDocument()
{
    doc_.ShowGrid = 0;
    ParseOK = true;
    doc_.CoordFrame = CoordFrameRecord{};
    for (char letter : {'a', 'b', 'c', 'd', 'f', 's'})
        VariableTable.param[ParamIndex(LetterCode(letter))] = 0;
    VariableTable.param[ParamIndex(LetterCode('j'))] = 1;
    VariableTable.param[ParamIndex(LetterCode('n'))] = 1;
    for (Tfuncprop &item : doc_.ItemList)
        ResetItem(item);
    ResetItem(doc_.CurrentItem);
    doc_.DefFuncText.fill({});
    doc_.DefConstText.fill({});
    doc_.DefFuncCount = doc_.DefConstCount = 0;
    doc_.OverlayMode = 0;
    ShowMaxMin() = false;
    doc_.ItemCount = 0;
    UpdateMenus();
    UpdateDefinitionMenus(doc_, menus_);
    doc_.ShowScale = 1;
    UpdateRangeStatus();
    colourPanel_.Reset();
}

KeyboardRequest GraphController::Request(const QString &caption, int layout) const
{
    KeyboardRequest request;
    request.caption = caption;
    request.layout = layout;
    request.keysXYZ = keys_.xyz;
    request.keyX = keys_.xyz;
    request.keysSgnGaus = keys_.sgnGaus;
    request.keyT = keys_.t;
    request.keyI = keys_.i;
    request.funcKeys = std::clamp(doc_.DefFuncCount, 0, kMaxDefinitions);
    request.constKeys = std::clamp(doc_.DefConstCount, 0, kMaxDefinitions);
    return request;
}

std::string GraphController::AskFormula(const QString &caption)
{
    return Ask().AskKeyboard(Request(caption, kLayoutFormula));
}

std::string GraphController::ReadNumber(const QString &prompt, int layout, std::string &number)
{
    std::string raw = Ask().AskKeyboard(Request(prompt, layout));
    number = raw.empty() ? std::string("0") : raw;
    return raw;
}

std::string GraphController::RunInputSequence(ItemKind kind)
{
    Tfuncprop &item = doc_.CurrentItem;
    std::string last;
    // Each formula step stops the sequence when cancelled.
    const auto formula = [&](const char *prompt, int field) {
        last = AskFormula(QString::fromUtf8(prompt));
        item.text[field] = last;
        return !last.empty();
    };
    // A bound of t: an empty answer is stored as "0" but still counts as
    // cancelled when it is the last step.
    const auto bound = [&](const char *prompt, int field) {
        last = ReadNumber(QString::fromUtf8(prompt), kLayoutNumber, item.text[field]);
    };
    // The coordinates of points and segments are plain values: neither the
    // curve variable t nor the sum index i means anything there.
    const auto coordinates = [&](const char *const *prompts, int count) {
        keys_.xyz = false;
        keys_.t = keys_.i = false;
        bool complete = true;
        for (int k = 0; k < count && complete; ++k)
            complete = formula(prompts[k], k + 1);
        keys_.t = keys_.i = true;
    };

    item.kind = kind;
    switch (kind) {
    case KindExplicit:
        keys_.xyz = keys_.sgnGaus = true;
        formula("陽関数 y=f(x) : f(x)の入力", 1);
        break;
    case KindImplicit:
        keys_.xyz = true;
        keys_.sgnGaus = false;
        formula("陰関数 f(x,y)=0 : f(x,y)の入力", 1);
        break;
    case KindParametric:
        keys_.xyz = keys_.sgnGaus = false;
        keys_.t = true;
        if (formula("媒介変数の　ｘ＝ｆ(ｔ)　の入力", 1) && formula("媒介変数の　y＝ｇ(ｔ)　の入力", 2)) {
            bound("媒介変数の下限", 3);
            bound("変数ｔの上限", 4);
        }
        break;
    case KindPolar:
        keys_.xyz = keys_.sgnGaus = false;
        keys_.t = true;
        if (formula("極方程式　ｒ＝ｆ(ｔ)　の入力", 1)) {
            item.text[2] = item.text[1];
            bound("変数ｔの下限", 3);
            bound("変数ｔの上限", 4);
        }
        break;
    case KindPoint: {
        static const char *const prompts[] = {"点 P(p,q): のｘ座標の入力", "点 P(p,q): のy座標の入力"};
        coordinates(prompts, 2);
        break;
    }
    case KindSegment: {
        static const char *const prompts[] = {"点 P(p,q): のｘ座標の入力", "点 P(p,q): のy座標の入力",
                                              "点 Q(p,q): のｘ座標の入力", "点 Q(p,q): のy座標の入力"};
        coordinates(prompts, 4);
        break;
    }
    default:
        last.clear();
        break;
    }
    return last;
}

void GraphController::Register(ItemKind kind)
{
    RedrawItemList();
    ResetItem(doc_.CurrentItem);
    std::string result;
    if (kind == KindDerivative) {
        // Built without the keyboard: the derivative text itself decides.
        doc_.CurrentItem.kind = KindDerivative;
        ParseOK = true;
        std::string text = DerivativeText(doc_.ItemList[1].text[1], OpX);
        if (ParseOK)
            result = text;
        doc_.CurrentItem.text[1] = result;
    } else {
        result = RunInputSequence(kind);
    }
    if (!result.empty()) {
        doc_.CurrentItem.asymptote = kind == KindExplicit ? 1 : 0;
        CommitItem();
    }
    UpdateMenus();
}

void GraphController::NewRegistration(ItemKind kind)
{
    if (kind < KindExplicit || kind > KindSegment)
        return;
    if (doc_.ItemCount > 0 && !Ask().Confirm(WarnAllItems))
        return;
    doc_.ItemCount = 0;
    colourPanel_.Reset();
    Register(kind);
}

void GraphController::AddRegistration(ItemKind kind)
{
    if (kind > KindSegment || doc_.ItemCount >= kMaxItems)
        return;
    if (kind == KindDerivative && !(doc_.ItemCount == 1 && doc_.ItemList[1].kind == KindExplicit))
        return;
    Register(kind);
}

void GraphController::CommitItem()
{
    if (doc_.ItemCount >= kMaxItems)
        return;
    doc_.ItemCount += 1;
    doc_.CurrentItem.colour = 0;
    // The entry appears before the colour is chosen so the user sees what
    // is being coloured.
    painter_.RenderItemEntry(doc_.CurrentItem);
    doc_.CurrentItem.colour = Ask().ChooseColour(colourPanel_);
    doc_.ItemList[doc_.ItemCount] = doc_.CurrentItem;
    RedrawItemList();
    UpdateParamStatus();
}

void GraphController::RedrawItemList()
{
    painter_.RedrawItemList(doc_);
    UpdateParamStatus();
}

void GraphController::UpdateMenus()
{
    UpdateMenuVisibility(doc_, menus_, ShowMaxMin());
    Changed();
}

void GraphController::UpdateParamStatus()
{
    if (doc_.ItemCount <= 0) {
        // Nothing can use a parameter: an old line would describe items
        // that are gone.
        usedParams_.fill(false);
        paramLine_.clear();
        menus_.kp2Enabled = false;
    } else {
        usedParams_ = ScanUsedParams(doc_);
        paramLine_ = ParamStatusText(usedParams_);
        menus_.kp2Enabled = AnyParamUsed(usedParams_);
    }
    Changed();
}

void GraphController::UpdateRangeStatus()
{
    rangeLine_ = RangeStatusText(doc_.CoordFrame);
    Changed();
}

bool GraphController::AskIntervalBounds(long double &lower, long double &upper)
{
    bool valid = true;
    const auto ask = [&](const char *prompt) {
        std::string text;
        ReadNumber(QString::fromUtf8(prompt), kLayoutPlainNumber, text);
        ParseOK = true;
        EvalValid = true;
        long double value = EvaluateFormulaText(text, 0);
        if (!ParseOK || !EvalValid) {
            valid = false;
            value = 0;
        }
        return value;
    };
    lower = ask("区間の下限");
    upper = ask("区間の上限");
    return valid;
}

bool GraphController::RefreshAfterLoad()
{
    RedrawItemList();
    UpdateRangeStatus();
    colourPanel_.Reset();
    const int count = std::clamp(doc_.ItemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i)
        colourPanel_.Take(doc_.ItemList[i].colour);
    UpdateMenus();
    UpdateDefinitionMenus(doc_, menus_);
    UpdateParamStatus();
    Changed();
    return menus_.kp2Enabled;
}

void GraphController::ShowAll()
{
    RedrawItemList();
    UpdateRangeStatus();
}
