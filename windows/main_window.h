// The main window `graph`: the graph picture at the right, the status lines
// under it, the item list panel at the left and the main menu. It owns the
// document, the stored graph picture and the interval state; everything it
// does is in GraphController and the renderer, the window only shows results
// and forwards clicks.
#pragma once

#include "control/equation_commands.h"
#include "control/graph_controller.h"
#include "control/graph_export.h"
#include "engine/engine_state.h"
#include "model/document.h"
#include "model/interval_state.h"
#include "render/redraw.h"
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
class QTimer;

namespace gq
{

class MainWindow : public QMainWindow
{
    Q_OBJECT
  public:
    // Fills the screen; graphSize is fixed here from the window height.
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
    void redrawGraph();
    // After a change of the frame: the range line and a full redraw.
    void frameChanged();
    void redrawItemList() { controller_.redrawItemList(); }
    void updateMenus() { controller_.updateMenus(); }
    void updateParamStatus() { controller_.updateParamStatus(); }
    void updateRangeStatus() { controller_.updateRangeStatus(); }

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
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void buildMenus();
    void buildClientArea();
    // Places the list, the graph and the status lines for the current size
    // (control/main_layout.h); a new graph size gets a new picture, drawn at
    // once. While a modal window is open the graph keeps its size (the
    // window's pictures are that size) until it closes.
    void layoutClientArea();
    QSize clientSize() const;
    void resizeGraph(int graphSize);

    // Text size and screen density (main_window_display.cpp).
    void buildDisplayMenu();
    void applyTextSize();
    double screenPixelRatio() const;
    // The height a status line is given: one line of its font at the
    // standard size, two (wrapped) at the larger ones.
    int statusLineHeight() const;
    void updateMinimumSize();

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
    // The redraw after a drag step or a wheel turn: made at the next frame
    // of the screen with the frame as it is then, so that steps arriving
    // while one is drawn are merged into the next.
    void requestMouseRedraw();

    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    QMenu *addSubmenu(QMenu *parent, const char *name, const QString &caption);
    void applyMenuState();
    void hideReadout();
    void runDefinition(DefinitionCommand command);
    void openParameterWindow(bool afterLoad);
    void followRead(const ReadOutcome &read); // the picture and message after a read

    Document document_;
    // The document's definitions for every formula parsed on this thread
    // while the window exists (the keyboard's check among them). Work that
    // evaluates installs the parameter values too, for its own duration.
    EngineScope definitionScope_{&document_};
    IntervalState interval_;
    int graphSize_ = 0;
    std::unique_ptr<GraphRenderer> renderer_;
    Canvas visible_;
    CanvasListSurface listSurface_;
    GraphController controller_;
    SecondaryWindows *windows_ = nullptr;
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
    QWidget *client_ = nullptr;
    CanvasView *listPanel_ = nullptr;
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
