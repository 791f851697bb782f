#include "windows/program_windows.h"

#include "windows/definition_links.h"
#include "windows/main_window.h"
#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace gq
{

void useProgramFont(QApplication &app)
{
    for (const QString &family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
        if (QFontDatabase::families().contains(family)) {
            QFont font(family);
            font.setPointSize(10);
            app.setFont(font);
            return;
        }
}

ProgramWindows::ProgramWindows(MainWindow &mainWindow, Questions *answers)
    : main_(mainWindow), keeper_(mainWindow), definitions_{mainWindow.doc(), mainWindow.controller().colours(), late_,
                                      [&mainWindow] { mainWindow.redrawItemList(); },
                                      [&mainWindow](const QString &name) { mainWindow.recordStep(name); }},
      versionBox_(&mainWindow), keyboard_(&mainWindow),
      rangeDialog_(
          mainWindow.doc(), late_, [&mainWindow] { mainWindow.frameChanged(); }, &mainWindow),
      parameterWindow_(mainWindow), colourPanel_(&mainWindow), meanRateWindow_(mainWindow, late_),
      tangentWindow_(mainWindow), intervalDialog_(mainWindow, &mainWindow),
      riemannSumWindow_(mainWindow, rangeDialog_, &mainWindow), correctionWindow_(definitions_, &mainWindow),
      confirmDialog_(&mainWindow), questions_(keyboard_, colourPanel_, confirmDialog_, &mainWindow)
{
    late_.target = answers ? answers : &questions_;
    main_.setQuestions(late_.target);
    main_.setSecondaryWindows(this);
    QObject::connect(&rangeDialog_, &RangeDialog::changeFinished, &mainWindow,
                     [&mainWindow](const QString &name) { mainWindow.recordStep(name); });
}

ProgramWindows::~ProgramWindows()
{
    main_.setSecondaryWindows(nullptr);
    main_.setQuestions(nullptr);
}

void ProgramWindows::showVersion()
{
    versionBox_.exec();
}

void ProgramWindows::openRangeDialog()
{
    // Near the main window's left edge, clear of the graph at the right.
    const QRect area = main_.geometry();
    rangeDialog_.move(area.left() + 4, area.top() + 80);
    rangeDialog_.exec();
    main_.recordStep();
}

void ProgramWindows::openParameterWindow(bool afterLoad)
{
    parameterWindow_.run(afterLoad);
    main_.recordStep();
}

void ProgramWindows::openCorrection(int mode)
{
    correctionWindow_.run(mode);
    main_.recordStep();
}

void ProgramWindows::openMeanRate()
{
    meanRateWindow_.setWindowTitle(QStringLiteral("平均変化率の意味"));
    meanRateWindow_.run();
    main_.recordStep();
}

void ProgramWindows::openTangent()
{
    tangentWindow_.setWindowTitle(QStringLiteral("接線の傾きの変化"));
    tangentWindow_.run();
    main_.recordStep();
}

void ProgramWindows::openRiemannSums()
{
    riemannSumWindow_.run();
    main_.recordStep();
}

void ProgramWindows::showIntervalDialog()
{
    // Every opening starts with the step 0.1.
    intervalDialog_.selectStep(2);
    intervalDialog_.show();
    intervalDialog_.raise();
}

void ProgramWindows::closeIntervalDialog()
{
    intervalDialog_.hide();
}

void ProgramWindows::graphResized()
{
    if (tangentWindow_.isVisible())
        tangentWindow_.graphResized();
    if (meanRateWindow_.isVisible())
        meanRateWindow_.graphResized();
    if (riemannSumWindow_.isVisible())
        riemannSumWindow_.graphResized();
    if (parameterWindow_.isVisible())
        parameterWindow_.graphResized();
}

void ProgramWindows::drawIntervalOverlay(const Canvas &graphImage)
{
    intervalDialog_.drawOverlay(graphImage);
}

void ProgramWindows::runDefinitionCommand(DefinitionCommand command)
{
    // The main window redraws the graph when the document changed.
    gq::runDefinitionCommand(definitions_, correctionWindow_, command);
    main_.recordStep();
}

} // namespace gq
