// The main window `graph`: the graph picture at the right, the status lines
// under it, the item list panel at the left and the main menu. It owns the
// document, the stored graph picture and the interval state; everything it
// does is in GraphController and the renderer, the window only shows results
// and forwards clicks.
#pragma once

#include "control/graph_controller.h"
#include "model/document.h"
#include "model/interval_state.h"
#include "render/redraw.h"
#include "windows/canvas_list_surface.h"
#include "windows/window_links.h"
#include <QMainWindow>
#include <QString>
#include <map>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

class Tgraph : public QMainWindow
{
    Q_OBJECT
  public:
    // Fills the screen; GraphSize is fixed here from the window height.
    explicit Tgraph(QWidget *parent = nullptr);
    ~Tgraph() override;

    // The modal questions (not owned; null answers everything as cancelled).
    void SetQuestions(Questions *questions) { controller_.SetQuestions(questions); }
    WindowLinks &Links() { return links_; }

    Document &Doc() { return document_; }
    GraphController &Controller() { return controller_; }
    IntervalState &Interval() { return interval_; }
    GraphRenderer &Renderer() { return *renderer_; }
    int GraphSize() const { return graphSize_; }
    // The picture the user sees: GraphImage after a redraw, with whatever
    // the tools draw over it. Call RefreshVisibleGraph after drawing on it.
    Canvas &VisibleGraph() { return visible_; }
    void RefreshVisibleGraph();

    // Operations other windows call.
    void RedrawGraph();
    void RedrawItemList() { controller_.RedrawItemList(); }
    void UpdateMenus() { controller_.UpdateMenus(); }
    void UpdateParamStatus() { controller_.UpdateParamStatus(); }
    void UpdateRangeStatus() { controller_.UpdateRangeStatus(); }

    // A menu entry by its name ("addition", "dif", ...), or null.
    QAction *MenuAction(const QString &name) const;
    QString RangeLineText() const;
    QString ParamLineText() const;

    // Menu handlers.
    void equationsaveClick();
    void equationLoadClick();
    void K2Click();
    void clipClick();
    void N4Click();
    void N5Click();
    void K1Click();
    void mnuExitClick();
    void funcselect1(ItemKind kind);
    void funcselect2(ItemKind kind);
    void teiseiClick();
    void zahyouClick();
    void hyoujyunClick();
    void KD1Click();
    void KP2Click();
    void K4Click();
    void K5Click();
    void K3Click();
    void K6Click();
    void integClick();
    void standardClick();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void BuildMenus();
    void BuildClientArea();
    void LayoutClientArea();
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption);
    QMenu *AddSubmenu(QMenu *parent, const char *name, const QString &caption);
    void ApplyMenuState();
    void HideReadout();
    void Definition(DefinitionCommand command);
    void OpenParameterWindow(bool afterLoad);

    Document document_;
    IntervalState interval_;
    int graphSize_ = 0;
    std::unique_ptr<GraphRenderer> renderer_;
    Canvas visible_;
    CanvasListSurface listSurface_;
    GraphController controller_;
    WindowLinks links_;
    bool searchMode_ = false;
    CoordFrameRecord savedFrame_{};

    std::map<QString, QAction *> actions_;
    QWidget *client_ = nullptr;
    CanvasView *listPanel_ = nullptr;
    QFrame *graphFrame_ = nullptr;
    CanvasView *graphpaint_ = nullptr;
    QWidget *statusArea_ = nullptr;
    QLabel *rangeLine_ = nullptr;
    QLabel *paramLine_ = nullptr;
    QLabel *readout_ = nullptr;   // coordinate read-out over the graph
    QLabel *itemLabel_ = nullptr; // the item under the pointer
    QPushButton *standard_ = nullptr;
};
