#include "control/graph_controller.h"

#include "control/definition_keys.h"
#include "control/formula_edit.h"
#include "engine/formula.h"
#include "model/equation_file.h"
#include <QFileInfo>
#include <algorithm>

namespace gq
{

namespace
{
// Answers every question as cancelled: the state before the dialogs exist.
class CancellingQuestions final : public Questions
{
  public:
    std::string askKeyboard(const KeyboardRequest &) override { return {}; }
    uint32_t chooseColour(ColourPanelState &) override { return kItemColours[0]; }
    bool confirm(int) override { return false; }
    void showMessage(const QString &) override {}
    SaveChangesAnswer askSaveChanges() override { return SaveChangesAnswer::Cancel; }
    RestoreAnswer askRestore() override { return RestoreAnswer::Keep; }
};
CancellingQuestions g_cancelling;

// Numeric layout of the keyboard for bounds that may hold parameters.
constexpr int kLayoutNumber = 0;
constexpr int kLayoutFormula = 1;
constexpr int kLayoutPlainNumber = 2;
} // namespace

GraphController::GraphController(Document &doc, ListSurface &list) : doc_(doc), painter_(list), history_(doc) {}

void GraphController::setQuestions(Questions *questions)
{
    questions_ = questions;
}

Questions &GraphController::ask()
{
    return questions_ ? *questions_ : g_cancelling;
}

void GraphController::changed()
{
    if (onChange)
        onChange();
}

void GraphController::resetDocument()
{
    doc_.showGrid = 0;
    engineState().parseOK = true;
    doc_.frame = CoordFrame{};
    for (char letter : {'a', 'b', 'c', 'd', 'f', 's'})
        doc_.parameters[letter] = 0;
    doc_.parameters['j'] = 1;
    doc_.parameters['n'] = 1;
    for (Item &item : doc_.items)
        resetItem(item);
    resetItem(doc_.currentItem);
    doc_.functionTexts.fill({});
    doc_.constantTexts.fill({});
    doc_.functionCount = doc_.constantCount = 0;
    doc_.overlayMode = 0;
    showMaxMin() = false;
    doc_.itemCount = 0;
    updateMenus();
    updateDefinitionMenus(doc_, menus_);
    doc_.showScale = 1;
    updateRangeStatus();
    colourPanel_.reset();
    markUnmodified();
    documentPath_.clear();
    history_.startFrom();
}

KeyboardRequest GraphController::request(const QString &caption, int layout) const
{
    KeyboardRequest request;
    request.caption = caption;
    request.layout = layout;
    request.keysXYZ = keys_.xyz;
    request.keyX = keys_.xyz;
    request.keysSgnGaus = keys_.sgnGaus;
    request.keyT = keys_.t;
    request.keyI = keys_.i;
    request.funcKeys = std::clamp(doc_.functionCount, 0, kMaxDefinitions);
    request.constKeys = std::clamp(doc_.constantCount, 0, kMaxDefinitions);
    return request;
}

std::string GraphController::askFormula(const QString &caption)
{
    return ask().askKeyboard(request(caption, kLayoutFormula));
}

std::string GraphController::readNumber(const QString &prompt, int layout, std::string &number)
{
    std::string raw = ask().askKeyboard(request(prompt, layout));
    number = raw.empty() ? std::string("0") : raw;
    return raw;
}

std::string GraphController::runInputSequence(ItemKind kind)
{
    Item &item = doc_.currentItem;
    std::string last;
    // Each formula step stops the sequence when cancelled.
    const auto formula = [&](const char *prompt, int field) {
        last = askFormula(QString::fromUtf8(prompt));
        item.text[field] = last;
        return !last.empty();
    };
    // A bound of t: an empty answer is stored as "0" but still counts as
    // cancelled when it is the last step.
    const auto bound = [&](const char *prompt, int field) {
        last = readNumber(QString::fromUtf8(prompt), kLayoutNumber, item.text[field]);
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

void GraphController::registerItem(ItemKind kind)
{
    redrawItemList();
    resetItem(doc_.currentItem);
    std::string result;
    if (kind == KindDerivative) {
        // Built without the keyboard: the derivative text itself decides,
        // and a derivative that cannot be drawn is not registered.
        doc_.currentItem.kind = KindDerivative;
        QString message;
        if (auto text = derivativeWithDefinitions(doc_, doc_.items[1].text[1], &message))
            result = *text;
        else
            ask().showMessage(message);
        doc_.currentItem.text[1] = result;
    } else {
        result = runInputSequence(kind);
    }
    if (!result.empty()) {
        doc_.currentItem.asymptote = kind == KindExplicit ? 1 : 0;
        commitItem();
    }
    updateMenus();
}

void GraphController::newRegistration(ItemKind kind)
{
    if (kind < KindExplicit || kind > KindSegment)
        return;
    if (doc_.itemCount > 0 && !ask().confirm(WarnAllItems))
        return;
    doc_.itemCount = 0;
    colourPanel_.reset();
    registerItem(kind);
    // The list emptied counts even when the registration was then cancelled.
    recordStep(step_names::kNewRegistration);
}

void GraphController::addRegistration(ItemKind kind)
{
    if (kind > KindSegment || doc_.itemCount >= kMaxItems)
        return;
    if (kind == KindDerivative && !(doc_.itemCount == 1 && doc_.items[1].kind == KindExplicit))
        return;
    registerItem(kind);
    recordStep(step_names::kAddRegistration);
}

void GraphController::commitItem()
{
    if (doc_.itemCount >= kMaxItems)
        return;
    doc_.itemCount += 1;
    doc_.currentItem.colour = 0;
    // The entry appears before the colour is chosen so the user sees what
    // is being coloured.
    painter_.renderItemEntry(doc_.currentItem);
    doc_.currentItem.colour = ask().chooseColour(colourPanel_);
    doc_.items[doc_.itemCount] = doc_.currentItem;
    redrawItemList();
    updateParamStatus();
}

void GraphController::redrawItemList()
{
    painter_.redrawItemList(doc_);
    updateParamStatus();
}

void GraphController::updateMenus()
{
    updateMenuVisibility(doc_, menus_, showMaxMin());
    changed();
}

void GraphController::updateParamStatus()
{
    if (doc_.itemCount <= 0) {
        // Nothing can use a parameter: an old line would describe items
        // that are gone.
        usedParams_.fill(false);
        paramLine_.clear();
        menus_.parameterDisplayEnabled = false;
    } else {
        usedParams_ = scanUsedParams(doc_);
        paramLine_ = paramStatusText(usedParams_, doc_.parameters);
        menus_.parameterDisplayEnabled = anyParamUsed(usedParams_);
    }
    changed();
}

void GraphController::updateRangeStatus()
{
    rangeLine_ = rangeStatusText(doc_.frame);
    changed();
}

bool GraphController::askIntervalBounds(long double &lower, long double &upper)
{
    bool valid = true;
    const auto ask = [&](const char *prompt) {
        std::string text;
        readNumber(QString::fromUtf8(prompt), kLayoutPlainNumber, text);
        EngineScope scope(&doc_, doc_.parameters);
        EngineState &state = engineState();
        state.parseOK = true;
        state.evalValid = true;
        long double value = evaluateFormulaText(text, 0);
        if (!state.parseOK || !state.evalValid) {
            valid = false;
            value = 0;
        }
        return value;
    };
    lower = ask("区間の下限");
    upper = ask("区間の上限");
    return valid;
}

bool GraphController::refreshAfterLoad()
{
    redrawItemList();
    updateRangeStatus();
    colourPanel_.reset();
    const int count = std::clamp(doc_.itemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i)
        colourPanel_.take(doc_.items[i].colour);
    updateMenus();
    updateDefinitionMenus(doc_, menus_);
    updateParamStatus();
    changed();
    return menus_.parameterDisplayEnabled;
}

bool GraphController::isModified() const
{
    std::vector<std::string> lines;
    QString error;
    // A document that cannot be written at all has nothing to compare: it
    // counts as modified, so that leaving it is always asked about.
    if (forcedModified_ || !equationFileLines(doc_, lines, error) || !savedLinesValid_)
        return true;
    return lines != savedLines_;
}

void GraphController::markUnmodified()
{
    QString error;
    savedLines_.clear();
    savedLinesValid_ = equationFileLines(doc_, savedLines_, error);
    forcedModified_ = false;
}

void GraphController::setDocumentPath(const QString &path)
{
    documentPath_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

void GraphController::refreshAfterStep()
{
    doc_.overlayMode = 0;
    refreshAfterLoad();
}

bool GraphController::undo()
{
    if (!history_.undo())
        return false;
    refreshAfterStep();
    return true;
}

bool GraphController::redo()
{
    if (!history_.redo())
        return false;
    refreshAfterStep();
    return true;
}

void GraphController::showAll()
{
    redrawItemList();
    updateRangeStatus();
}

} // namespace gq
