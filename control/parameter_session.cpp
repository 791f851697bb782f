#include "control/parameter_session.h"

#include "engine/expr_tree.h"
#include <algorithm>

namespace gq
{

std::array<bool, kParamRowCount> shownRows(const UsedParamTable &used)
{
    std::array<bool, kParamRowCount> shown{};
    for (int row = 0; row < kParamRowCount; ++row)
        shown[static_cast<std::size_t>(row)] = used[letterCode(kRowLetters[row]) - 10000];
    return shown;
}

ParameterSession::ParameterSession(Document &doc, GraphRenderer &renderer, Canvas &visible)
    : doc_(doc), renderer_(renderer), visible_(visible)
{
}

int ParameterSession::shownRowCount() const
{
    return static_cast<int>(std::count(shown_.begin(), shown_.end(), true));
}

void ParameterSession::notifyValues()
{
    if (valuesChanged)
        valuesChanged();
}

void ParameterSession::open(const UsedParamTable &used)
{
    shown_ = shownRows(used);
    // θ is only ever changed here, but a value set elsewhere is taken over
    // rather than overwritten at the next step.
    steps_.setThetaFromRadians(doc_.parameters['s']);
    locusChecked_ = false;
    flags_.locus = false;
    doc_.overlayMode = afterimageChecked_ ? 1 : 0;
    activateAfterimages();
    drawBackground();
    drawStep();
}

void ParameterSession::close()
{
    doc_.overlayMode = 0;
}

void ParameterSession::clear(ParamRow row)
{
    steps_.clear(row, doc_.parameters);
    notifyValues();
    // The jump to the cleared value is no path of a point: no locus for it.
    flags_.locus = false;
    drawStep();
    flags_.locus = locusChecked_;
}

void ParameterSession::allClear()
{
    steps_.resetAll(doc_.parameters);
    notifyValues();
    afterimageChecked_ = false;
    doc_.overlayMode = 0;
    locusChecked_ = false;
    flags_.locus = false;
    activateAfterimages();
    drawBackground();
    drawStep();
}

void ParameterSession::setAfterimage(bool on)
{
    afterimageChecked_ = on;
    doc_.overlayMode = on ? 1 : 0;
    activateAfterimages();
    if (!on)
        drawBackground(); // the afterimages disappear
    drawStep();
}

void ParameterSession::setLocus(bool on)
{
    locusChecked_ = on;
    flags_.locus = on;
    if (!on) {
        drawBackground(); // the traces disappear
        drawStep();
    }
}

StepOutcome ParameterSession::step()
{
    const StepOutcome outcome = steps_.step(doc_.parameters);
    notifyValues();
    drawStep();
    return outcome;
}

void ParameterSession::activateAfterimages()
{
    const int count = std::clamp(doc_.itemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i) {
        const Item &item = doc_.items[i];
        if (item.usesParam)
            flags_.afterimageActive[static_cast<std::size_t>(i)] =
                item.afterimage != 0 && doc_.overlayMode != 0;
    }
}

void ParameterSession::drawBackground()
{
    renderer_.startPicture(doc_);
    drawFixedItems(renderer_.graphImage(), renderer_.view(), doc_, renderer_.points());
}

void ParameterSession::drawStep()
{
    drawAnimationStep(renderer_.graphImage(), renderer_.view(), doc_, flags_, renderer_.points(),
                      [this](const Canvas &) -> Canvas & {
                          // The same way every redraw ends: plain copy, or
                          // the interval overlay while an interval is active.
                          renderer_.showPicture();
                          return visible_;
                      });
    if (pictureChanged)
        pictureChanged();
}

} // namespace gq
