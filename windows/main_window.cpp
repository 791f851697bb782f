#include "windows/main_window.h"

#include "control/definition_keys.h"
#include "control/display_settings.h"
#include "control/main_layout.h"
#include "control/recovery_keeper.h"
#include "model/equation_file.h"
#include "tools/derivative_colours.h"
#include "windows/file_dialogs.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
// rnd(height * 10 / 12), halves to even.
int graphSizeFor(int height)
{
    return std::max(1, static_cast<int>(std::nearbyint(height * 10.0 * (1.0 / 12.0))));
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), graphSize_(graphSizeFor(startGeometry().height())),
      renderer_(std::make_unique<GraphRenderer>(graphSize_)), visible_(graphSize_, graphSize_),
      listSurface_(std::max(1, startGeometry().width() - graphSize_ - 10), startGeometry().height()),
      controller_(document_, listSurface_)
{
    setObjectName(QStringLiteral("graph"));
    setWindowTitle(QStringLiteral("graphoTheque 3.22"));
    setGeometry(startGeometry());

    setFileNames(equationFileDialogs(this, [this] { return controller_.documentPath(); }),
                 [this] { return askGraphFile(this); });
    textSize_ = storedTextSize();
    controller_.setShowMaxMinFlag(&interval_.showMaxMin);
    keptTrace_ = TraceLayer(kSlopeTraceColour);
    controller_.onChange = [this] { applyMenuState(); };

    renderer_->hooks.updateRangeStatus = [this] { controller_.updateRangeStatus(); };
    renderer_->hooks.intervalActive = [this] { return interval_.active && windows_ != nullptr; };
    renderer_->hooks.drawIntervalOverlay = [this](const Canvas &image) {
        windows_->drawIntervalOverlay(image);
    };
    renderer_->hooks.drawKept = [this](Canvas &image, const GraphView &view) { keptTrace_.draw(image, view); };
    renderer_->hooks.present = [this](const Canvas &image) {
        visible_.copyFrom(image);
        refreshVisibleGraph();
    };

    buildMenus();
    buildClientArea();
    connectGraphMouse();
    listSurface_.onChanged = [this] { listPanel_->update(); };
    listSurface_.onDrawn = [this] { fitListPicture(); };
    listSurface_.onAppended = [this](int top, int bottom) { listScroll_->reveal(top, bottom); };

    // Document defaults, menus, range line and the empty frame.
    controller_.resetDocument();
    interval_ = IntervalState{};
    searchMode_ = false;
    controller_.redrawItemList();
    applyMenuState();
    redrawGraph();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- menus

QAction *MainWindow::addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    actions_[action->objectName()] = action;
    return action;
}

QMenu *MainWindow::addSubmenu(QMenu *parent, const char *name, const QString &caption)
{
    QMenu *menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    actions_[menu->objectName()] = menu->menuAction();
    return menu;
}

void MainWindow::buildMenus()
{
    const auto on = [this](QAction *action, void (MainWindow::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };

    QMenu *file = addSubmenu(nullptr, "File1", QStringLiteral("ﾌｧｲﾙ(&F)"));
    on(addItem(file, "equationsave", QStringLiteral("登録した式の保存(&S)")), &MainWindow::saveDocument);
    on(addItem(file, "equationLoad", QStringLiteral("式の読み込み(&R)")), &MainWindow::openDocument);
    on(addItem(file, "K2", QStringLiteral("グラフを保存(&G)")), &MainWindow::saveGraphImage);
    on(addItem(file, "clip", QStringLiteral("グラフをｃｌｉｐボードへコピー（&C)")),
       &MainWindow::copyGraphToClipboard);
    QMenu *mode = addSubmenu(file, "N2", QStringLiteral("モード設定"));
    on(addItem(mode, "N4", QStringLiteral("探索モード")), &MainWindow::enterSearchMode);
    on(addItem(mode, "N5", QStringLiteral("通常モード")), &MainWindow::leaveSearchMode);
    on(addItem(file, "K1", QStringLiteral("バージョン情報(&A)")), &MainWindow::showVersion);
    on(addItem(file, "mnuExit", QStringLiteral("GraphoThequeの終了(&X)")), &MainWindow::quitProgram);
    buildEditMenu();

    // The kinds in the order of their codes; the derivative only under
    // "追加登録".
    struct KindCaption {
        ItemKind kind;
        const char *caption;
    };
    static const KindCaption kinds[] = {
        {KindExplicit, "陽関数(&F)"}, {KindImplicit, "陰関数(&N)"}, {KindParametric, "媒介変数(&P)"},
        {KindPolar, "極方程式(&K)"},  {KindPoint, "点(&T)"},        {KindSegment, "線分(&S)"},
    };
    QMenu *registration = addSubmenu(nullptr, "kabsuu1", QStringLiteral("表示登録(&R)"));
    QMenu *fresh = addSubmenu(registration, "new", QStringLiteral("新規登録(&N)"));
    for (const KindCaption &k : kinds)
        connect(fresh->addAction(QString::fromUtf8(k.caption)), &QAction::triggered, this,
                [this, kind = k.kind] { registerNew(kind); });
    QMenu *addMenu = addSubmenu(registration, "addition", QStringLiteral("追加登録(&A)"));
    connect(addItem(addMenu, "defa", QStringLiteral("導関数(&D)")), &QAction::triggered, this,
            [this] { registerAdditional(KindDerivative); });
    for (const KindCaption &k : kinds)
        connect(addMenu->addAction(QString::fromUtf8(k.caption)), &QAction::triggered, this,
                [this, kind = k.kind] { registerAdditional(kind); });
    on(addItem(registration, "teisei", QStringLiteral("訂正・削除(&C)")), &MainWindow::correctItems);
    addItem(registration, "condetion", QStringLiteral("条件式(&C)"))->setVisible(false);

    on(addItem(nullptr, "zahyou", QStringLiteral("座標変更(&C)")), &MainWindow::changeRange);

    QMenu *show = addSubmenu(nullptr, "gshow", QStringLiteral("グラフ表示(&G)"));
    on(addItem(show, "hyoujyun", QStringLiteral("標準表示(&N)")), &MainWindow::showStandard);
    on(addItem(show, "KD1", QStringLiteral("重ね表示(&D)")), &MainWindow::showOverlaid);
    on(addItem(show, "KP2", QStringLiteral("ﾊﾟﾗﾒﾀ表示(&P)")), &MainWindow::showParameters);
    QAction *trace = addItem(show, "T1", QStringLiteral("トレース表示(&T)"));
    trace->setVisible(false);
    trace->setEnabled(false);

    QMenu *interval = addSubmenu(nullptr, "intchange", QStringLiteral("区間の設定・解除(&I)"));
    on(addItem(interval, "K4", QStringLiteral("区間設定(&i)")), &MainWindow::setInterval);
    on(addItem(interval, "K5", QStringLiteral("区間解除(&F)")), &MainWindow::clearInterval);

    QMenu *definitions = addSubmenu(nullptr, "definit", QStringLiteral("式定義(&E)"));
    QMenu *functions = addSubmenu(definitions, "deff", QStringLiteral("関数定義(&F)"));
    const auto definition = [this](QAction *action, DefinitionCommand command) {
        connect(action, &QAction::triggered, this, [this, command] { runDefinition(command); });
    };
    definition(addItem(functions, "deffuncN", QStringLiteral("新規(&N)")), DefinitionCommand::NewFunctions);
    definition(addItem(functions, "deffuncA", QStringLiteral("追加(&A)")), DefinitionCommand::AddFunction);
    definition(addItem(functions, "UFcorrect", QStringLiteral("訂正(&D)")),
               DefinitionCommand::CorrectFunctions);
    QMenu *constants = addSubmenu(definitions, "DefC", QStringLiteral("定数定義(&C)"));
    definition(addItem(constants, "DefconstN", QStringLiteral("新規(&N)")), DefinitionCommand::NewConstants);
    definition(addItem(constants, "DefconstA", QStringLiteral("追加(&A)")), DefinitionCommand::AddConstant);
    definition(addItem(constants, "UCcorrect", QStringLiteral("訂正(&D)")),
               DefinitionCommand::CorrectConstants);
    definition(addItem(definitions, "Erase", QStringLiteral("全削除(&D)")), DefinitionCommand::EraseAll);

    QMenu *calculus = addSubmenu(nullptr, "dif", QStringLiteral("微分積分(&D)"));
    on(addItem(calculus, "K3", QStringLiteral("平均変化率(&M)")), &MainWindow::showMeanRate);
    on(addItem(calculus, "K6", QStringLiteral("接線の変化(&T)")), &MainWindow::showTangent);
    on(addItem(calculus, "integ", QStringLiteral("区分求積(&S)")), &MainWindow::showRiemannSums);

    buildDisplayMenu();
}

QAction *MainWindow::menuAction(const QString &name) const
{
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::applyMenuState()
{
    const MenuState &m = controller_.menus();
    const auto visible = [this](const char *name, bool on) {
        if (QAction *a = menuAction(QString::fromLatin1(name)))
            a->setVisible(on);
    };
    visible("addition", m.addMenu);
    visible("teisei", m.correctionMenu);
    visible("gshow", m.displayMenu);
    visible("dif", m.calculusMenu);
    visible("defa", m.derivativeEntry);
    visible("deffuncA", m.addFunctionEntry);
    visible("UFcorrect", m.correctFunctionsEntry);
    visible("DefconstA", m.addConstantEntry);
    visible("UCcorrect", m.correctConstantsEntry);
    if (QAction *kp2 = menuAction(QStringLiteral("KP2")))
        kp2->setEnabled(m.parameterDisplayEnabled);
    if (rangeLine_)
        rangeLine_->setText(controller_.rangeLine());
    if (paramLine_) {
        paramLine_->setText(controller_.paramLine());
        // The parameters in use decide the parameter line's room.
        if (statusLineRoom(paramLine_->width()).param != paramLine_->height()) {
            updateMinimumSize();
            layoutClientArea();
        }
    }
}

// ---------------------------------------------------------------- client area

void MainWindow::buildClientArea()
{
    // The client area keeps a legible least size; on a screen with less room
    // it scrolls rather than lose the graph's side or the status lines.
    clientScroll_ = new QScrollArea(this);
    clientScroll_->setObjectName(QStringLiteral("clientscroll"));
    clientScroll_->setFrameShape(QFrame::NoFrame);
    clientScroll_->setWidgetResizable(true);
    clientScroll_->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(clientScroll_);
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("client"));
    clientScroll_->setWidget(client_);
    client_->installEventFilter(this);

    listScroll_ = new ListScrollArea(client_);
    listScroll_->setObjectName(QStringLiteral("TextScroll"));
    listPanel_ = new CanvasView(&listSurface_.picture(), nullptr);
    listPanel_->setObjectName(QStringLiteral("Text"));
    listScroll_->setWidget(listPanel_);
    // A click on the list lets the keys scroll it.
    listPanel_->setFocusPolicy(Qt::ClickFocus);
    listPanel_->setFocusProxy(listScroll_);

    graphFrame_ = new QFrame(client_);
    graphFrame_->setObjectName(QStringLiteral("graphframe"));
    graphFrame_->setFrameShape(QFrame::NoFrame);
    graphFrame_->setStyleSheet(QStringLiteral("QFrame#graphframe { background: black; }"));
    graphWidget_ = new CanvasView(&visible_, graphFrame_);
    graphWidget_->setObjectName(QStringLiteral("graphpaint"));
    graphWidget_->setGeometry(0, 1, graphSize_, graphSize_);

    readout_ = new QLabel(graphWidget_);
    readout_->setObjectName(QStringLiteral("Label6"));
    readout_->setStyleSheet(QStringLiteral("color: blue;"));
    readout_->hide();
    itemLabel_ = new QLabel(graphWidget_);
    itemLabel_->setObjectName(QStringLiteral("Label7"));
    itemLabel_->hide();
    // The pointer reads the graph through the labels that follow it.
    readout_->setAttribute(Qt::WA_TransparentForMouseEvents);
    itemLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    standard_ = new QPushButton(QStringLiteral("標準"), graphWidget_);
    standard_->setObjectName(QStringLiteral("standard"));
    standard_->move(0, 0);
    standard_->hide();
    connect(standard_, &QPushButton::clicked, this, &MainWindow::restoreSearchFrame);

    statusArea_ = new QWidget(client_);
    statusArea_->setObjectName(QStringLiteral("status"));
    rangeLine_ = new QLabel(statusArea_);
    rangeLine_->setObjectName(QStringLiteral("rangeline"));
    paramLine_ = new QLabel(statusArea_);
    paramLine_->setObjectName(QStringLiteral("paramline"));
    statusFont_ = rangeLine_->font();

    applyTextSize();
}

void MainWindow::resizeGraph(int graphSize)
{
    graphSize_ = graphSize;
    const int picture = std::max(1, static_cast<int>(std::nearbyint(graphSize * pixelRatio_)));
    renderer_->resize(picture, pixelRatio_);
    visible_ = Canvas(picture, picture, pixelRatio_);
    graphWidget_->setPixelRatio(pixelRatio_);
    drag_.active = false;
    hideReadout();
    // The new picture is blank, so even in overlay display it is drawn
    // afresh, with axes; the mode itself stays.
    const uint8_t overlay = document_.overlayMode;
    document_.overlayMode = 0;
    redrawGraph();
    document_.overlayMode = overlay;
    // An open tool draws its marks again, at the new size.
    if (windows_)
        windows_->graphResized();
}

bool MainWindow::event(QEvent *event)
{
    // On another screen the pictures may need another density, and the
    // least size another bound.
    if (event->type() == QEvent::ScreenChangeInternal) {
        updateMinimumSize();
        layoutClientArea();
    }
    // The edit entries rest while a modal window is open.
    if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
        updateEditMenu();
    return QMainWindow::event(event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutClientArea();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // ﾌｧｲﾙ → 終了 and the close box: unsaved changes are asked about first.
    if (!settleUnsavedChanges(controller_, equationFileNames_)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    // Closing the main window ends the program, whatever else is open: a
    // clean quit, which leaves no work to recover.
    if (event->isAccepted()) {
        storeMainWindowPlace(normalGeometry(), isMaximized());
        if (recovery_)
            recovery_->finish();
        QCoreApplication::quit();
    }
}

QString MainWindow::rangeLineText() const
{
    return rangeLine_->text();
}
QString MainWindow::paramLineText() const
{
    return paramLine_->text();
}

// ---------------------------------------------------------------- graph

void MainWindow::refreshVisibleGraph()
{
    if (graphWidget_)
        graphWidget_->update();
}

void MainWindow::redrawGraph()
{
    renderer_->redrawGraph(document_);
}

void MainWindow::documentChanged()
{
    keptTrace_.clear();
    redrawGraph();
}

void MainWindow::frameChanged()
{
    frameMoved();
    redrawGraph();
}

void MainWindow::frameMoved()
{
    // A picture of another frame cannot be drawn over: the axes and every
    // curve are drawn afresh.
    document_.overlayMode = 0;
    keptTrace_.clear();
    controller_.updateRangeStatus();
}

void MainWindow::documentReplaced()
{
    leaveOldDocument();
    redrawGraph();
}

void MainWindow::leaveOldDocument()
{
    releaseInterval();
    document_.overlayMode = 0;
    keptTrace_.clear();
}

void MainWindow::releaseInterval()
{
    interval_.active = false;
    interval_.showMaxMin = false;
    if (windows_)
        windows_->closeIntervalDialog();
}

void MainWindow::runDocumentCommand(const std::function<void()> &command, bool replaces)
{
    std::vector<std::string> before, after;
    QString error;
    const bool comparable = equationFileLines(document_, before, error);
    command();
    if (comparable && equationFileLines(document_, after, error) && after == before)
        return;
    if (replaces)
        documentReplaced();
    else
        documentChanged();
}

bool MainWindow::calculusFormulaUsable()
{
    const QString why = unusableFunctionMessage(document_);
    if (why.isEmpty())
        return true;
    controller_.ask().showMessage(why);
    return false;
}

bool MainWindow::toolWindowOpen() const
{
    if (QApplication::activeModalWidget())
        return true;
    const QList<QDialog *> dialogs = findChildren<QDialog *>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QDialog *d) { return d->isVisible(); });
}

void MainWindow::hideReadout()
{
    readout_->hide();
    itemLabel_->hide();
}

// ---------------------------------------------------------------- file menu

void MainWindow::setFileNames(EquationFileNames equations, std::function<GraphFileChoice()> graph)
{
    equationFileNames_ = std::move(equations);
    graphFileName_ = std::move(graph);
}

void MainWindow::saveDocument()
{
    // A saved document needs no recovery file.
    if (saveEquationsCommand(controller_, equationFileNames_) && recovery_)
        recovery_->updateNow();
}

void MainWindow::openDocument()
{
    followRead(readEquationsCommand(controller_, equationFileNames_));
}

void MainWindow::openAtStart(const QString &path)
{
    followRead(openEquationsAtStart(controller_, path));
}

void MainWindow::followRead(const ReadOutcome &read)
{
    // The picture always shows the document that was read: redrawn here, or
    // drawn by the parameter window. The message about formulas that do not
    // parse comes over the new picture and list, before that window opens.
    if (read.next != AfterRead::Nothing)
        leaveOldDocument();
    if (read.next == AfterRead::Redraw)
        redrawGraph();
    if (!read.unparsable.isEmpty())
        controller_.ask().showMessage(read.message());
    if (read.next == AfterRead::OpenParameterWindow)
        openParameterWindow(true);
}

void MainWindow::saveGraphImage()
{
    if (!graphFileName_)
        return;
    const QString error = saveGraphPicture(exportedGraph(), graphFileName_());
    if (!error.isEmpty())
        controller_.ask().showMessage(error);
}

void MainWindow::copyGraphToClipboard()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(exportedGraph());
}

void MainWindow::enterSearchMode()
{
    searchMode_ = true;
    savedFrame_ = document_.frame;
    drag_.active = false;
    standard_->show();
    updateEditMenu();
}

void MainWindow::leaveSearchMode()
{
    searchMode_ = false;
    standard_->hide();
    hideReadout();
    graphWidget_->unsetCursor();
    updateEditMenu();
}

void MainWindow::restoreSearchFrame()
{
    // The read-out would show the coordinates of the frame that is gone.
    hideReadout();
    document_.frame = savedFrame_;
    frameChanged();
    recordStep(step_names::kStandard);
}

void MainWindow::showVersion()
{
    if (windows_)
        windows_->showVersion();
}

void MainWindow::quitProgram()
{
    close();
}

// ---------------------------------------------------------------- registration

void MainWindow::registerNew(ItemKind kind)
{
    runDocumentCommand([this, kind] { controller_.newRegistration(kind); }, true);
}

void MainWindow::registerAdditional(ItemKind kind)
{
    runDocumentCommand([this, kind] { controller_.addRegistration(kind); });
}

void MainWindow::correctItems()
{
    runDocumentCommand([this] {
        if (windows_)
            windows_->openCorrection(1);
        controller_.updateMenus();
        controller_.redrawItemList();
    });
}

void MainWindow::runDefinition(DefinitionCommand command)
{
    if (!windows_)
        return;
    runDocumentCommand([this, command] {
        windows_->runDefinitionCommand(command);
        updateDefinitionMenus(document_, controller_.menus());
        controller_.updateMenus();
        controller_.redrawItemList();
    });
}

// ---------------------------------------------------------------- display

void MainWindow::changeRange()
{
    hideReadout();
    document_.overlayMode = 0;
    if (windows_)
        windows_->openRangeDialog();
}

void MainWindow::showStandard()
{
    hideReadout();
    document_.overlayMode = 0;
    keptTrace_.clear();
    redrawGraph();
}

void MainWindow::showOverlaid()
{
    hideReadout();
    document_.overlayMode = 1;
    redrawGraph();
}

void MainWindow::openParameterWindow(bool afterLoad)
{
    if (windows_)
        windows_->openParameterWindow(afterLoad);
}

void MainWindow::showParameters()
{
    hideReadout();
    // The parameter window changes the document: nothing a tool left stays.
    keptTrace_.clear();
    redrawGraph();
    openParameterWindow(false);
}

void MainWindow::setInterval()
{
    hideReadout();
    redrawGraph();
    if (!interval_.active) {
        // A new interval marks the extremes of a single explicit function,
        // as after its registration.
        interval_.showMaxMin = document_.itemCount == 1 && document_.items[1].kind == KindExplicit;
        controller_.askIntervalBounds(interval_.lower, interval_.upper);
    }
    if (windows_)
        windows_->showIntervalDialog();
}

void MainWindow::clearInterval()
{
    hideReadout();
    releaseInterval();
    redrawGraph();
}

void MainWindow::showMeanRate()
{
    hideReadout();
    if (!calculusFormulaUsable())
        return;
    redrawGraph();
    if (windows_)
        windows_->openMeanRate();
}

void MainWindow::showTangent()
{
    hideReadout();
    if (!calculusFormulaUsable())
        return;
    redrawGraph();
    if (windows_)
        windows_->openTangent();
}

void MainWindow::showRiemannSums()
{
    hideReadout();
    if (!calculusFormulaUsable())
        return;
    redrawGraph();
    if (windows_)
        windows_->openRiemannSums();
}

} // namespace gq
