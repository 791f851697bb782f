#include "windows/colour_panel.h"

#include <QColor>
#include <QPushButton>
#include <algorithm>

namespace gq
{

namespace
{
constexpr const char *kSwatchNames[10] = {"paBlack",  "paBlue",  "paNavy", "PaTeal",    "PaOlive",
                                          "pamaroon", "PaGreen", "PaRed",  "PaFuchsia", "PaPurple"};
constexpr int kSwatchSize = 30, kSwatchPitch = 36, kMargin = 6;

// Stored colours are 0x00BBGGRR.
QColor toQColor(uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
} // namespace

ColourPanel::ColourPanel(QWidget *mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("clpanel"));
    setWindowTitle(QStringLiteral("色の設定"));
    for (int i = 0; i < 10; ++i) {
        auto *swatch = new QPushButton(this);
        swatch->setObjectName(QString::fromLatin1(kSwatchNames[i]));
        swatch->setAutoDefault(false);
        swatch->setFocusPolicy(Qt::NoFocus);
        // Swatches keep fixed places, so a taken colour leaves a gap and the
        // others do not move between uses.
        swatch->setGeometry(kMargin + (i % 5) * kSwatchPitch, kMargin + (i / 5) * kSwatchPitch, kSwatchSize,
                            kSwatchSize);
        swatch->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
                .arg(toQColor(kItemColours[i]).name()));
        connect(swatch, &QPushButton::clicked, this, [this, i] { swatchClicked(i); });
        swatches_[i] = swatch;
    }
    setFixedSize(2 * kMargin + 4 * kSwatchPitch + kSwatchSize, 2 * kMargin + kSwatchPitch + kSwatchSize);
}

void ColourPanel::prepare(ColourPanelState &state)
{
    if (std::none_of(state.offered.begin(), state.offered.end(), [](bool b) { return b; }))
        state.reset();
    state_ = &state;
    chosen_ = kNoColourChosen;
    for (int i = 0; i < 10; ++i)
        swatches_[i]->setVisible(state.offered[i]);
    if (QWidget *main = parentWidget())
        move(main->frameGeometry().topLeft() + QPoint(4, 200));
}

uint32_t ColourPanel::choose(ColourPanelState &state)
{
    prepare(state);
    exec();
    state_ = nullptr;
    return chosen_;
}

void ColourPanel::swatchClicked(int index)
{
    if (index < 0 || index >= 10 || !state_ || !state_->offered[index])
        return;
    chosen_ = kItemColours[index];
    state_->take(chosen_);
    swatches_[index]->hide();
    accept();
}

void ColourPanel::reject()
{
    if (chosen_ != kNoColourChosen)
        QDialog::reject();
}

} // namespace gq
