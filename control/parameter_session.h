// The parameter window's behaviour without its widgets: which rows it shows,
// what each key does to the values, the increments and the two options, and
// the pictures of the animation. The window forwards its clicks here and
// shows the texts; tests drive it the same way.
#pragma once

#include "control/parameter_steps.h"
#include "control/status_lines.h"
#include "model/document.h"
#include "platform/canvas.h"
#include "render/parameter_draw.h"
#include "render/redraw.h"
#include <functional>

namespace gq
{

class ParameterSession
{
  public:
    // The main window's document, graph renderer and visible graph picture;
    // none is owned and all must outlive the session. The renderer's
    // graphImage is the stored image, and its hooks (present, the interval
    // overlay) must show that image on visible.
    ParameterSession(Document &doc, GraphRenderer &renderer, Canvas &visible);

    // Called after every change of a value (the main window's parameter line).
    std::function<void()> valuesChanged;
    // Called after the visible picture was drawn on.
    std::function<void()> pictureChanged;

    // Opening: locus off; the rows of the used letters; OverlayMode := the
    // afterimage switch; afterimage activation; background; draw step.
    void open(const UsedParamTable &used);
    // Closing: OverlayMode := false.
    void close();

    // The row keys "＋", "－", "0" and "cl" (cl also draws a step, without
    // a locus).
    void plus(ParamRow row) { steps_.plus(row); }
    void minus(ParamRow row) { steps_.minus(row); }
    void zero(ParamRow row) { steps_.zero(row); }
    void clear(ParamRow row);
    // "AC": every value, increment and option back to the start.
    void allClear();
    // "残像表示" and "軌跡表示".
    void setAfterimage(bool on);
    void setLocus(bool on);
    // "刻み幅": index into kStepWidths.
    void setStepWidthIndex(int index) { steps_.setStepWidthIndex(index); }
    // ResetIncrements, before the window opens after a file load.
    void resetIncrements() { steps_.resetIncrements(); }

    // One press of "描画" (and every tick while it is held): the values
    // take their increments, then a draw step.
    StepOutcome step();

    // The parts of a step and of the opening, for the keys above.
    void activateAfterimages();
    void drawBackground();
    void drawStep();

    bool rowShown(ParamRow row) const { return shown_[static_cast<std::size_t>(row)]; }
    int shownRowCount() const;
    bool afterimageChecked() const { return afterimageChecked_; }
    bool locusChecked() const { return locusChecked_; }
    const AnimationFlags &flags() const { return flags_; }
    const ParameterSteps &steps() const { return steps_; }
    QString valueText(ParamRow row) const { return steps_.valueText(row, doc_.parameters); }
    QString incrementText(ParamRow row) const { return steps_.incrementText(row); }

  private:
    void notifyValues();

    Document &doc_;
    GraphRenderer &renderer_;
    Canvas &visible_;
    ParameterSteps steps_;
    AnimationFlags flags_;
    std::array<bool, kParamRowCount> shown_{};
    bool afterimageChecked_ = false; // "残像表示"
    bool locusChecked_ = false;      // "軌跡表示"
};

// Which rows a table of used letters shows: a, b, c, d, f, j, n, θ.
std::array<bool, kParamRowCount> shownRows(const UsedParamTable &used);

} // namespace gq
