// The colour panel `clpanel`: hands out the ten item colours so that no two
// registered items share one. The caller keeps which colours are offered in a
// ColourPanelState; the panel shows those swatches and takes the one picked.
#pragma once

#include "control/questions.h"
#include <QDialog>
#include <array>

class QPushButton;

namespace gq
{

class ColourPanel : public QDialog
{
    Q_OBJECT
  public:
    // mainWindow (may be null) is the window the panel is placed against.
    explicit ColourPanel(QWidget *mainWindow = nullptr);

    // Sets up one opening: chosenColour := kNoColourChosen and only the
    // swatches that state offers are shown. If state offers none, it is
    // reset first (that state never arises from the document's own
    // operations, and a panel without swatches could never be closed).
    // state must outlive the opening.
    void prepare(ColourPanelState &state);
    // Prepare, then show modally until a colour is picked. Returns the
    // colour, which state then marks taken.
    uint32_t choose(ColourPanelState &state);

    // chosenColour: the pick of this opening, or kNoColourChosen.
    uint32_t chosenColour() const { return chosen_; }

    // A click on swatch index (0..9, the order of kItemColours).
    void swatchClicked(int index);
    // Refused while nothing has been chosen.
    void reject() override;

  private:
    std::array<QPushButton *, 10> swatches_{};
    ColourPanelState *state_ = nullptr;
    uint32_t chosen_ = kNoColourChosen;
};

} // namespace gq
