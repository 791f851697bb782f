// The integration navigator without its widgets: it asks for its own
// interval, computes and draws the chosen sum over the graph, steps the
// number of strips and keeps the read-outs. The window shows its state and
// forwards clicks; tests drive it the same way.
#pragma once

#include "engine/program.h"
#include "model/document.h"
#include "platform/canvas.h"
#include "render/redraw.h"
#include "tools/riemann_sums.h"
#include <QString>
#include <array>
#include <functional>
#include <string>

namespace gq
{

// The navigator's messages.
inline const QString kAskAgainMessage = QStringLiteral("違う値を入力してください");
inline const QString kUndefinedInIntervalMessage = QStringLiteral("区間内に定義出来ない点があります");

class RiemannNavigator
{
  public:
    // Asks for a plain number: caption, message line. Returns the typed text,
    // "0" when nothing was typed; cancelled tells the two apart.
    using AskNumber =
        std::function<std::string(const QString &caption, const QString &message, bool &cancelled)>;
    // Shows a finished picture on the visible graph.
    using Present = std::function<void(const Canvas &picture)>;

    // doc and renderer are not owned and must outlive the navigator; the
    // renderer's graph picture and view are read at every drawing.
    RiemannNavigator(Document &doc, const GraphRenderer &renderer, Present present);

    // The opening: no sum chosen, n = 2, no error, every read-out blank; f
    // is item 1's formula. Asks
    // for the lower bound, then the upper bound ("区間の下限", "区間の上限"),
    // each rounded to single precision, again with "違う値を入力してください"
    // as long as f is undefined there (or the text has no value); shows the
    // bound line of each on the graph. A cancelled prompt counts as 0; when f
    // is undefined at 0 as well, it ends the opening instead. False when the
    // opening ended so, or the document is not one explicit function: the
    // window then closes.
    bool open(const AskNumber &ask);
    // The closing: f is released.
    void close();
    // Draws again what the navigator shows, over the graph as it is now (the
    // frame or the graph's size changed): the chosen sum, or, before one is
    // chosen, the lines at the two bounds.
    void redraw();
    bool isOpen() const { return open_; }

    // A sum button: computes and shows that sum.
    void chooseSum(SumKind kind);
    // One tick of "増" or "減", then the sum again.
    void stepDivisions(bool increase);
    // "初期値に戻す": n = 2, then the sum again.
    void resetDivisions();
    // Computes the chosen sum with the current n over the current frame and
    // shows it over the graph; nothing while no sum is chosen. On an
    // undefined value the error line is set and the read-out and the picture
    // stay as they were; a sum that succeeds clears the error line.
    void showSum();

    float lower() const { return lower_; }
    float upper() const { return upper_; }
    int divisions() const { return divisions_; }
    SumKind kind() const { return kind_; }
    bool atCap() const { return divisions_ >= kMaxDivisions; }
    // "a≦ｘ≦b" with both bounds in "0.000".
    QString intervalText() const;
    // The read-out of a kind: blank until a sum of that kind has been
    // computed in this opening, then the latest value in "0.0000".
    QString readout(SumKind kind) const { return readouts_[static_cast<int>(kind)]; }
    // The error line: "区間内に定義出来ない点があります" after a sum met an
    // undefined value, until a sum succeeds or the next opening; else empty.
    QString errorText() const { return error_; }
    // The work picture of the latest drawing (bound lines and strips).
    const Canvas &workImage() const { return work_; }

  private:
    // Asks for one bound until f is defined there; false when abandoned.
    bool askBound(const AskNumber &ask, const QString &caption, float &bound);

    Document &doc_;
    const GraphRenderer &renderer_;
    Present present_;
    Program f_;
    Canvas work_;
    bool open_ = false;
    float lower_ = 0, upper_ = 0;
    int divisions_ = kInitialDivisions;
    SumKind kind_ = SumKind::None;
    std::array<QString, 5> readouts_;
    QString error_;
};

} // namespace gq
