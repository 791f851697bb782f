// The main window `graph`: the graph picture at the right, the status lines
// under it, the item list panel at the left and the main menu. It owns the
// document, the stored graph picture and the interval state; everything it
// does is in GraphController and the renderer, the window only shows results
// and forwards clicks.
#pragma once

#include "control/equation_commands.h"
#include "control/graph_controller.h"
#include "control/graph_export.h"
#include "control/main_layout.h"
#include "engine/engine_state.h"
#include "model/document.h"
#include "model/interval_state.h"
#include "render/redraw.h"
#include "render/trace_layer.h"
#include "render/text_size.h"
#include "windows/canvas_list_surface.h"
#include "windows/secondary_windows.h"
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;

namespace gq
{

class RecoveryKeeper;

class MainWindow : public QMainWindow
{
    Q_OBJECT
  public:
    // Fills the screen's free area, or takes the place and size it had when
    // the program last ended where that fits a screen now; graphSize is fixed
    // here from the window height.
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The modal questions (not owned; null answers everything as cancelled).
    void setQuestions(Questions *questions) { controller_.setQuestions(questions); }
    // The windows this one opens (not owned; null: those commands do nothing).
    void setSecondaryWindows(SecondaryWindows *windows) { windows_ = windows; }

    Document &doc() { return document_; }
    GraphController &controller() { return controller_; }
    IntervalState &interval() { return interval_; }
    GraphRenderer &renderer() { return *renderer_; }
    // The graph's side in pixels of the layout (and of the mouse).
    int graphSize() const { return graphSize_; }
    // The picture the user sees: graphImage after a redraw, with whatever
    // the tools draw over it. Call refreshVisibleGraph after drawing on it.
    // Both pictures have the screen's pixels: graphSize times pixelRatio on
    // a side, drawn in the renderer's view.
    Canvas &visibleGraph() { return visible_; }
    void refreshVisibleGraph();

    // Pixels of the graph picture to a pixel of the layout: the screen's
    // device pixel ratio (main_window_display.cpp), unless overridden.
    double pixelRatio() const { return pixelRatio_; }
    // Draws the graph at this ratio whatever the screen's (tests); 0 follows
    // the screen again.
    void setPixelRatioOverride(double ratio);
    // The frame of the latest redraw over graphSize layout pixels: the
    // mapping of the mouse and the read-out.
    GraphView layoutView() const;
    // The visible picture as saved and copied: graphSize pixels square, the
    // visible picture itself at pixel ratio 1.
    QImage exportedGraph() const;

    // The text size of the list panel, the status lines and the tick labels
    // (表示 → 文字の大きさ); setTextSize applies it at once and stores it
    // for the next run.
    TextSize textSize() const { return textSize_; }
    void setTextSize(TextSize size);

    // Operations other windows call.
    // A redraw for display: the document, plus what is kept on the graph (a
    // trace a tool left); in the overlay display over the current picture.
    void redrawGraph();
    // After a change of the document (items, definitions, parameter values):
    // what tools left is dropped and the graph is drawn from the document,
    // over the current picture only in the overlay display the user chose.
    void documentChanged();
    // After a change of the frame: the overlay display ends, what tools left
    // is dropped, and the range line and the graph are drawn afresh.
    void frameChanged();
    // What frameChanged does before it redraws (the mouse redraws later).
    void frameMoved();
    // After the document was replaced (新規登録, a file read): also the
    // interval is released.
    void documentReplaced();
    // The trace of the slope the tangent tool leaves: kept across redraws
    // until the document or the frame changes.
    TraceLayer &keptTrace() { return keptTrace_; }
    void redrawItemList() { controller_.redrawItemList(); }
    void updateMenus() { controller_.updateMenus(); }
    void updateParamStatus() { controller_.updateParamStatus(); }
    void updateRangeStatus() { controller_.updateRangeStatus(); }

    // The history (main_window_history.cpp). recordStep records the change
    // just made as one step named name (by what changed when empty); other
    // windows call it after each change they make. 元に戻す and やり直し
    // take a step back or again and redraw the graph, the list and the
    // status lines at once; they do nothing while a tool window is open or
    // search mode is on (historyAvailable).
    void recordStep(const QString &name = QString());
    void undoStep();
    void redoStep();
    bool historyAvailable() const;
    // The recovery file's keeper (not owned; null: none is kept).
    void setRecovery(RecoveryKeeper *keeper);
    // Start-up once the window is shown: offers the work a crashed run left
    // behind, then reads the file named on the command line ("" for none),
    // asking first about a restored document's changes.
    void startUp(const QString &file);

    // A menu entry by its name ("addition", "dif", ...), or null.
    QAction *menuAction(const QString &name) const;
    QString rangeLineText() const;
    QString paramLineText() const;

    // Reads a file named on the command line, with the same checks as the
    // read command, then redraws or opens the parameter window.
    void openAtStart(const QString &path);
    // Where the file commands get their file names: the file dialogs, unless
    // replaced (tests script them).
    void setFileNames(EquationFileNames equations, std::function<GraphFileChoice()> graph);

    // Menu handlers.
    void saveDocument();
    void openDocument();
    void saveGraphImage();
    void copyGraphToClipboard();
    void enterSearchMode();
    void leaveSearchMode();
    void showVersion();
    void quitProgram();
    void registerNew(ItemKind kind);
    void registerAdditional(ItemKind kind);
    void correctItems();
    void changeRange();
    void showStandard();
    void showOverlaid();
    void showParameters();
    void setInterval();
    void clearInterval();
    void showMeanRate();
    void showTangent();
    void showRiemannSums();
    void restoreSearchFrame();
    bool searchMode() const { return searchMode_; }

    // Whether one of the program's dialogs is open (a modal one, or the
    // interval dialog, which does not block): the mouse then leaves the
    // frame alone in normal mode.
    bool toolWindowOpen() const;

  protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void buildMenus();
    void buildEditMenu();
    void updateEditMenu();
    void historyChanged();
    void buildClientArea();
    // Places the list, the graph and the status lines for the current size
    // (control/main_layout.h); a new graph size gets a new picture, drawn at
    // once, also while a tool is open: the tool then draws its marks again
    // at the new size (SecondaryWindows::graphResized).
    void layoutClientArea();
    QSize clientSize() const;
    void resizeGraph(int graphSize);
    // The list picture's size: as wide as the panel less its scroll bar's
    // room, as high as the list drawn (the panel scrolls when that is more).
    void fitListPicture();

    // Text size and screen density (main_window_display.cpp).
    void buildDisplayMenu();
    void applyTextSize();
    double screenPixelRatio() const;
    // The room the status lines are given at a line width: one line of
    // their font at the standard size, two at the larger ones, and more where
    // the widest range line, or the parameter line with every parameter in
    // use at a wide value, needs them.
    StatusLineHeights statusLineRoom(int lineWidth) const;
    int statusOneLine() const; // the height of one status line
    // Lines given the room of more than one wrap; one line stays centred.
    void wrapStatusLines();
    // The legible least size of the client area, and the window's least size:
    // that, but never more than the screen's free area (the client area then
    // scrolls).
    void updateMinimumSize();
    // Where the window opens (main_window_display.cpp): the stored place
    // where it fits a screen, else the primary screen's free area.
    static QRect startGeometry();
    // Moves and shrinks the window, with its frame, onto its screen's free area.
    void keepOnScreen();

    // The graph picture's mouse (main_window_mouse.cpp): search-mode
    // read-out and click zoom, and in normal mode wheel zoom and drag.
    void connectGraphMouse();
    void graphMouseMove(int x, int y);
    void graphMouseDown(Qt::MouseButton button, int x, int y);
    void graphMouseUp(Qt::MouseButton button);
    void graphWheel(int x, int y, int delta);
    void listMouseMove();
    void showReadout(int x, int y);
    bool mouseNavigationAllowed() const;
    // After a drag step or a wheel turn: frameMoved at once, and the redraw
    // at the next frame of the screen with the document as it is then, so
    // that steps arriving while one is drawn are merged into the next.
    void requestMouseRedraw();

    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    QMenu *addSubmenu(QMenu *parent, const char *name, const QString &caption);
    void applyMenuState();
    void hideReadout();
    void runDefinition(DefinitionCommand command);
    // Runs a command that may change the document, then redraws the graph
    // when it did (replaced: the command starts a new document).
    void runDocumentCommand(const std::function<void()> &command, bool replaces = false);
    // Before a calculus tool opens: false, after saying why, when item 1's
    // formula cannot be used.
    bool calculusFormulaUsable();
    void releaseInterval();
    // What belonged to the document being replaced goes: the interval, the
    // overlay display and what tools left on the graph.
    void leaveOldDocument();
    void openParameterWindow(bool afterLoad);
    void followRead(const ReadOutcome &read); // the picture and message after a read

    Document document_;
    // The document's definitions for every formula parsed on this thread
    // while the window exists (the keyboard's check among them). Work that
    // evaluates installs the parameter values too, for its own duration.
    EngineScope definitionScope_{&document_};
    IntervalState interval_;
    TraceLayer keptTrace_;
    int graphSize_ = 0;
    std::unique_ptr<GraphRenderer> renderer_;
    Canvas visible_;
    CanvasListSurface listSurface_;
    GraphController controller_;
    SecondaryWindows *windows_ = nullptr;
    RecoveryKeeper *recovery_ = nullptr;
    EquationFileNames equationFileNames_;
    std::function<GraphFileChoice()> graphFileName_;
    bool searchMode_ = false;
    CoordFrame savedFrame_{};
    // A drag with the left button in normal mode: where it started.
    struct Drag {
        bool active = false;
        int x = 0, y = 0;
        GraphView start;
    } drag_;
    int wheelRemainder_ = 0; // rotation short of a notch
    QTimer *mouseRedraw_ = nullptr; // pending: the redraw requestMouseRedraw asked for
    QElapsedTimer mouseRedrawStart_; // since the last such redraw began
    TextSize textSize_ = TextSize::Standard;
    double pixelRatio_ = 1.0;
    double pixelRatioOverride_ = 0; // 0: the screen's
    QFont statusFont_;              // the status lines' font at the standard size

    std::map<QString, QAction *> actions_;
    QScrollArea *clientScroll_ = nullptr; // scrolls only on a screen too small
    QWidget *client_ = nullptr;
    ListScrollArea *listScroll_ = nullptr;
    CanvasView *listPanel_ = nullptr;
    bool laying_ = false;       // layoutClientArea is running
    bool placedOnScreen_ = false; // the first showing kept the window on its screen
    QFrame *graphFrame_ = nullptr;
    CanvasView *graphWidget_ = nullptr;
    QWidget *statusArea_ = nullptr;
    QLabel *rangeLine_ = nullptr;
    QLabel *paramLine_ = nullptr;
    QLabel *readout_ = nullptr;   // coordinate read-out over the graph
    QLabel *itemLabel_ = nullptr; // the item under the pointer
    QPushButton *standard_ = nullptr;
};

} // namespace gq
