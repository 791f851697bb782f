#include "windows/main_window.h"

#include "control/definition_keys.h"
#include "control/equation_commands.h"
#include "engine/parse.h"
#include "platform/text_file.h"
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace
{
// Used when no screen can be asked (it never happens on a desktop).
const QRect kFallbackScreen(0, 0, 1024, 768);

QRect ScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : kFallbackScreen;
}

// rnd(height * 10 / 12), halves to even.
int GraphSizeFor(int height)
{
    return std::max(1, static_cast<int>(std::nearbyint(height * 10.0 * (1.0 / 12.0))));
}

QString AskFileName(QWidget *parent, QFileDialog::AcceptMode mode, const QString &filter,
                    const QString &suffix)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

const QString kEquationFilter = QStringLiteral("数式 (*.gtq)");
const QString kBitmapFilter = QStringLiteral("ビットマップ (*.bmp)");
} // namespace

Tgraph::Tgraph(QWidget *parent)
    : QMainWindow(parent), graphSize_(GraphSizeFor(ScreenRect().height())),
      renderer_(std::make_unique<GraphRenderer>(graphSize_)), visible_(graphSize_, graphSize_),
      listSurface_(std::max(1, ScreenRect().width() - graphSize_ - 10), ScreenRect().height()),
      controller_(document_, listSurface_)
{
    setObjectName(QStringLiteral("graph"));
    setWindowTitle(QStringLiteral("graphoTheque 3.22"));
    setGeometry(ScreenRect());

    SetDefinitionSource(&document_);
    controller_.SetShowMaxMinFlag(&interval_.ShowMaxMin);
    controller_.OnChange = [this] { ApplyMenuState(); };

    renderer_->hooks.updateRangeStatus = [this] { controller_.UpdateRangeStatus(); };
    renderer_->hooks.intervalActive = [this] {
        return interval_.IntervalActive && bool(links_.drawIntervalOverlay);
    };
    renderer_->hooks.drawIntervalOverlay = [this](const Canvas &image) { links_.drawIntervalOverlay(image); };
    renderer_->hooks.present = [this](const Canvas &image) {
        visible_.copyFrom(image);
        RefreshVisibleGraph();
    };

    BuildMenus();
    BuildClientArea();
    listSurface_.OnChanged = [this] { listPanel_->update(); };

    // Document defaults, menus, range line and the empty frame.
    controller_.ResetDocument();
    interval_ = IntervalState{};
    searchMode_ = false;
    controller_.RedrawItemList();
    ApplyMenuState();
    RedrawGraph();
}

Tgraph::~Tgraph()
{
    SetDefinitionSource(nullptr);
}

// ---------------------------------------------------------------- menus

QAction *Tgraph::AddItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    actions_[action->objectName()] = action;
    return action;
}

QMenu *Tgraph::AddSubmenu(QMenu *parent, const char *name, const QString &caption)
{
    QMenu *menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    actions_[menu->objectName()] = menu->menuAction();
    return menu;
}

void Tgraph::BuildMenus()
{
    const auto on = [this](QAction *action, void (Tgraph::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };

    QMenu *file = AddSubmenu(nullptr, "File1", QStringLiteral("ﾌｧｲﾙ(&F)"));
    on(AddItem(file, "equationsave", QStringLiteral("登録した式の保存(&S)")), &Tgraph::equationsaveClick);
    on(AddItem(file, "equationLoad", QStringLiteral("式の読み込み(&R)")), &Tgraph::equationLoadClick);
    on(AddItem(file, "K2", QStringLiteral("グラフを保存(&G)")), &Tgraph::K2Click);
    on(AddItem(file, "clip", QStringLiteral("グラフをｃｌｉｐボードへコピー（&C)")), &Tgraph::clipClick);
    QMenu *mode = AddSubmenu(file, "N2", QStringLiteral("モード設定"));
    on(AddItem(mode, "N4", QStringLiteral("探索モード")), &Tgraph::N4Click);
    on(AddItem(mode, "N5", QStringLiteral("通常モード")), &Tgraph::N5Click);
    on(AddItem(file, "K1", QStringLiteral("バージョン情報(&A)")), &Tgraph::K1Click);
    on(AddItem(file, "mnuExit", QStringLiteral("GraphoThequeの終了(&X)")), &Tgraph::mnuExitClick);

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
    QMenu *registration = AddSubmenu(nullptr, "kabsuu1", QStringLiteral("表示登録(&R)"));
    QMenu *fresh = AddSubmenu(registration, "new", QStringLiteral("新規登録(&N)"));
    for (const KindCaption &k : kinds)
        connect(fresh->addAction(QString::fromUtf8(k.caption)), &QAction::triggered, this,
                [this, kind = k.kind] { funcselect1(kind); });
    QMenu *addition = AddSubmenu(registration, "addition", QStringLiteral("追加登録(&A)"));
    connect(AddItem(addition, "defa", QStringLiteral("導関数(&D)")), &QAction::triggered, this,
            [this] { funcselect2(KindDerivative); });
    for (const KindCaption &k : kinds)
        connect(addition->addAction(QString::fromUtf8(k.caption)), &QAction::triggered, this,
                [this, kind = k.kind] { funcselect2(kind); });
    on(AddItem(registration, "teisei", QStringLiteral("訂正・削除(&C)")), &Tgraph::teiseiClick);
    AddItem(registration, "condetion", QStringLiteral("条件式(&C)"))->setVisible(false);

    on(AddItem(nullptr, "zahyou", QStringLiteral("座標変更(&C)")), &Tgraph::zahyouClick);

    QMenu *show = AddSubmenu(nullptr, "gshow", QStringLiteral("グラフ表示(&G)"));
    on(AddItem(show, "hyoujyun", QStringLiteral("標準表示(&N)")), &Tgraph::hyoujyunClick);
    on(AddItem(show, "KD1", QStringLiteral("重ね表示(&D)")), &Tgraph::KD1Click);
    on(AddItem(show, "KP2", QStringLiteral("ﾊﾟﾗﾒﾀ表示(&P)")), &Tgraph::KP2Click);
    QAction *trace = AddItem(show, "T1", QStringLiteral("トレース表示(&T)"));
    trace->setVisible(false);
    trace->setEnabled(false);

    QMenu *interval = AddSubmenu(nullptr, "intchange", QStringLiteral("区間の設定・解除(&I)"));
    on(AddItem(interval, "K4", QStringLiteral("区間設定(&i)")), &Tgraph::K4Click);
    on(AddItem(interval, "K5", QStringLiteral("区間解除(&F)")), &Tgraph::K5Click);

    QMenu *definitions = AddSubmenu(nullptr, "definit", QStringLiteral("式定義(&E)"));
    QMenu *functions = AddSubmenu(definitions, "deff", QStringLiteral("関数定義(&F)"));
    const auto definition = [this](QAction *action, DefinitionCommand command) {
        connect(action, &QAction::triggered, this, [this, command] { Definition(command); });
    };
    definition(AddItem(functions, "deffuncN", QStringLiteral("新規(&N)")), DefinitionCommand::NewFunctions);
    definition(AddItem(functions, "deffuncA", QStringLiteral("追加(&A)")), DefinitionCommand::AddFunction);
    definition(AddItem(functions, "UFcorrect", QStringLiteral("訂正(&D)")),
               DefinitionCommand::CorrectFunctions);
    QMenu *constants = AddSubmenu(definitions, "DefC", QStringLiteral("定数定義(&C)"));
    definition(AddItem(constants, "DefconstN", QStringLiteral("新規(&N)")), DefinitionCommand::NewConstants);
    definition(AddItem(constants, "DefconstA", QStringLiteral("追加(&A)")), DefinitionCommand::AddConstant);
    definition(AddItem(constants, "UCcorrect", QStringLiteral("訂正(&D)")),
               DefinitionCommand::CorrectConstants);
    definition(AddItem(definitions, "Erase", QStringLiteral("全削除(&D)")), DefinitionCommand::EraseAll);

    QMenu *calculus = AddSubmenu(nullptr, "dif", QStringLiteral("微分積分(&D)"));
    on(AddItem(calculus, "K3", QStringLiteral("平均変化率(&M)")), &Tgraph::K3Click);
    on(AddItem(calculus, "K6", QStringLiteral("接線の変化(&T)")), &Tgraph::K6Click);
    on(AddItem(calculus, "integ", QStringLiteral("区分求積(&S)")), &Tgraph::integClick);
}

QAction *Tgraph::MenuAction(const QString &name) const
{
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void Tgraph::ApplyMenuState()
{
    const MenuState &m = controller_.Menus();
    const auto visible = [this](const char *name, bool on) {
        if (QAction *a = MenuAction(QString::fromLatin1(name)))
            a->setVisible(on);
    };
    visible("addition", m.addition);
    visible("teisei", m.teisei);
    visible("gshow", m.gshow);
    visible("dif", m.dif);
    visible("defa", m.defa);
    visible("deffuncA", m.deffuncA);
    visible("UFcorrect", m.UFcorrect);
    visible("DefconstA", m.DefconstA);
    visible("UCcorrect", m.UCcorrect);
    if (QAction *kp2 = MenuAction(QStringLiteral("KP2")))
        kp2->setEnabled(m.kp2Enabled);
    if (rangeLine_)
        rangeLine_->setText(controller_.RangeLine());
    if (paramLine_)
        paramLine_->setText(controller_.ParamLine());
}

// ---------------------------------------------------------------- client area

void Tgraph::BuildClientArea()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);

    listPanel_ = new CanvasView(&listSurface_.Picture(), client_);
    listPanel_->setObjectName(QStringLiteral("Text"));

    graphFrame_ = new QFrame(client_);
    graphFrame_->setObjectName(QStringLiteral("graphframe"));
    graphFrame_->setFrameShape(QFrame::NoFrame);
    graphFrame_->setStyleSheet(QStringLiteral("QFrame#graphframe { background: black; }"));
    graphpaint_ = new CanvasView(&visible_, graphFrame_);
    graphpaint_->setObjectName(QStringLiteral("graphpaint"));
    graphpaint_->setGeometry(0, 1, graphSize_, graphSize_);

    readout_ = new QLabel(graphpaint_);
    readout_->setObjectName(QStringLiteral("Label6"));
    readout_->setStyleSheet(QStringLiteral("color: blue;"));
    readout_->hide();
    itemLabel_ = new QLabel(graphpaint_);
    itemLabel_->setObjectName(QStringLiteral("Label7"));
    itemLabel_->hide();
    standard_ = new QPushButton(QStringLiteral("標準"), graphpaint_);
    standard_->setObjectName(QStringLiteral("standard"));
    standard_->move(0, 0);
    standard_->hide();
    connect(standard_, &QPushButton::clicked, this, &Tgraph::standardClick);

    statusArea_ = new QWidget(client_);
    statusArea_->setObjectName(QStringLiteral("status"));
    rangeLine_ = new QLabel(statusArea_);
    rangeLine_->setObjectName(QStringLiteral("rangeline"));
    paramLine_ = new QLabel(statusArea_);
    paramLine_->setObjectName(QStringLiteral("paramline"));
    LayoutClientArea();
}

void Tgraph::LayoutClientArea()
{
    if (!client_)
        return;
    const int width = client_->width();
    const int height = client_->height();
    const int left = std::max(0, width - graphSize_ - 10);
    graphFrame_->setGeometry(left, 0, graphSize_ + 1, graphSize_ + 1);
    statusArea_->setGeometry(left, graphSize_ + 2, graphSize_, std::max(0, height - graphSize_ - 2));
    const int lineHeight = rangeLine_->sizeHint().height();
    rangeLine_->setGeometry(4, 4, graphSize_ - 8, lineHeight);
    paramLine_->setGeometry(4, 8 + lineHeight, graphSize_ - 8, lineHeight);
    listPanel_->setGeometry(0, 0, std::max(1, left), std::max(1, height));
    const int panelWidth = std::max(1, left), panelHeight = std::max(1, height);
    if (listSurface_.Picture().width() != panelWidth || listSurface_.Picture().height() != panelHeight) {
        listSurface_.Resize(panelWidth, panelHeight);
        controller_.RedrawItemList();
    }
}

void Tgraph::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutClientArea();
}

void Tgraph::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // Closing the main window ends the program, whatever else is open.
    if (event->isAccepted())
        QCoreApplication::quit();
}

QString Tgraph::RangeLineText() const
{
    return rangeLine_->text();
}
QString Tgraph::ParamLineText() const
{
    return paramLine_->text();
}

// ---------------------------------------------------------------- graph

void Tgraph::RefreshVisibleGraph()
{
    if (graphpaint_)
        graphpaint_->update();
}

void Tgraph::RedrawGraph()
{
    renderer_->RedrawGraph(document_);
}

void Tgraph::HideReadout()
{
    readout_->hide();
    itemLabel_->hide();
}

// ---------------------------------------------------------------- file menu

void Tgraph::equationsaveClick()
{
    const QString path = AskFileName(this, QFileDialog::AcceptSave, kEquationFilter, QStringLiteral("gtq"));
    if (!path.isEmpty())
        SaveEquations(controller_, path);
}

void Tgraph::equationLoadClick()
{
    const QString path = AskFileName(this, QFileDialog::AcceptOpen, kEquationFilter, QStringLiteral("gtq"));
    if (ReadEquationsAndRefresh(controller_, path))
        OpenParameterWindow(true);
}

void Tgraph::K2Click()
{
    const QString path = AskFileName(this, QFileDialog::AcceptSave, kBitmapFilter, QStringLiteral("Bmp"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // 24 bits a pixel keep the ten item colours exact.
    const QImage picture = visible_.image().convertToFormat(QImage::Format_RGB888);
    if (!picture.save(&buffer, "BMP")) {
        controller_.Ask().ShowMessage(QStringLiteral("グラフを保存できませんでした"));
        return;
    }
    const QString error = SaveFileBytes(path, bytes);
    if (!error.isEmpty())
        controller_.Ask().ShowMessage(error);
}

void Tgraph::clipClick()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(visible_.image());
}

void Tgraph::N4Click()
{
    searchMode_ = true;
    savedFrame_ = document_.CoordFrame;
    standard_->show();
}

void Tgraph::N5Click()
{
    searchMode_ = false;
    standard_->hide();
}

void Tgraph::standardClick()
{
    document_.CoordFrame = savedFrame_;
    controller_.UpdateRangeStatus();
    RedrawGraph();
}

void Tgraph::K1Click()
{
    if (links_.versionBox)
        links_.versionBox->exec();
}

void Tgraph::mnuExitClick()
{
    close();
}

// ---------------------------------------------------------------- registration

void Tgraph::funcselect1(ItemKind kind)
{
    controller_.NewRegistration(kind);
}

void Tgraph::funcselect2(ItemKind kind)
{
    controller_.AddRegistration(kind);
}

void Tgraph::teiseiClick()
{
    if (links_.openCorrection)
        links_.openCorrection(1);
    controller_.UpdateMenus();
    controller_.RedrawItemList();
}

void Tgraph::Definition(DefinitionCommand command)
{
    if (!links_.definitionCommand)
        return;
    links_.definitionCommand(command);
    UpdateDefinitionMenus(document_, controller_.Menus());
    controller_.UpdateMenus();
    controller_.RedrawItemList();
}

// ---------------------------------------------------------------- display

void Tgraph::zahyouClick()
{
    HideReadout();
    document_.OverlayMode = 0;
    if (links_.openRangeChange)
        links_.openRangeChange();
}

void Tgraph::hyoujyunClick()
{
    HideReadout();
    document_.OverlayMode = 0;
    RedrawGraph();
}

void Tgraph::KD1Click()
{
    HideReadout();
    document_.OverlayMode = 1;
    RedrawGraph();
}

void Tgraph::OpenParameterWindow(bool afterLoad)
{
    if (links_.openParameterWindow)
        links_.openParameterWindow(afterLoad);
}

void Tgraph::KP2Click()
{
    HideReadout();
    RedrawGraph();
    OpenParameterWindow(false);
}

void Tgraph::K4Click()
{
    HideReadout();
    RedrawGraph();
    if (!interval_.IntervalActive)
        controller_.AskIntervalBounds(interval_.IntervalLower, interval_.IntervalUpper);
    if (links_.showIntervalWindow)
        links_.showIntervalWindow();
}

void Tgraph::K5Click()
{
    HideReadout();
    interval_.IntervalActive = false;
    interval_.ShowMaxMin = false;
    RedrawGraph();
}

void Tgraph::K3Click()
{
    HideReadout();
    RedrawGraph();
    if (links_.openMeanRate)
        links_.openMeanRate();
}

void Tgraph::K6Click()
{
    HideReadout();
    RedrawGraph();
    if (links_.openTangent)
        links_.openTangent();
}

void Tgraph::integClick()
{
    HideReadout();
    RedrawGraph();
    if (links_.openIntegration)
        links_.openIntegration();
}
