// graphotheque-render: draws an equation file into a picture file without a
// window, for scripts and for checking documents in bulk.
//
//   graphotheque-render [--size N] [--range XMIN XMAX YMIN YMAX] [--param NAME=VALUE]...
//                       [--text-size SIZE] [--pixel-ratio R] [calculus options] INPUT.gtq OUTPUT.EXT
//   graphotheque-render --help
//
// EXT names the picture format: bmp, png, jpg, or any other Qt can write.
// Exit status: 0 written, 1 the input could not be read or the picture could
// not be written (one line on stderr says why), 2 bad arguments (usage line,
// or one line naming a bad --param, --text-size or --pixel-ratio, or a range
// the range dialog would refuse)
// or an extension that names no format (usage line), 3 the calculus options
// met a point where the function is undefined. A readable file whose texts
// do not all parse is still drawn (exit 0); stderr names each such line. The
// options of the calculus demonstrations are parsed and drawn in their own
// files (calculus_options.h, derivative_options.h), the text size and the
// pixel ratio in display_options.h.
#include "calculus_options.h"
#include "derivative_options.h"
#include "display_options.h"
#include "model/equation_file.h"
#include "param_options.h"
#include "platform/image_file.h"
#include "render/redraw.h"
#include "render_output.h"
#include "render_range.h"

#include <QGuiApplication>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace gq;

namespace
{
constexpr int kDefaultSize = 640;
constexpr int kMinSize = 16;
constexpr int kMaxSize = 4096; // 64 MB of pixels at most

struct Arguments {
    int size = kDefaultSize;
    QString input;
    QString output;
    QByteArray format;               // by the output's extension
    std::optional<RangeTexts> range; // --range: drawn over this frame
    CalculusOptions calculus;
};

// The side of the picture: the graph's side in pixels of its pixel ratio.
int pictureSide(int size, const DisplayOptions &display)
{
    return static_cast<int>(std::nearbyint(size * display.pixelRatio));
}

void printLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QString usageText()
{
    return QStringLiteral("usage: graphotheque-render [--size N] [--range XMIN XMAX YMIN YMAX] %4 INPUT.gtq "
                          "OUTPUT.bmp|.png|.jpg|...  (N = %1..%2, default %3; NAME = a, b, c, d, f, j, n or "
                          "theta, theta in multiples of pi)\n")
               .arg(kMinSize)
               .arg(kMaxSize)
               .arg(kDefaultSize)
               .arg(QString::fromLatin1(kParamUsage)) +
           calculusUsage() + derivativeOptionsUsage() + displayOptionsUsage();
}

int usage()
{
    std::fputs(usageText().toLocal8Bit().constData(), stderr);
    return 2;
}

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments a;
    QStringList positional;
    for (int i = 1; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        if (arg == QLatin1String("--range")) {
            RangeTexts texts;
            if (!takeRangeOption(args, i, texts))
                return std::nullopt;
            a.range = texts;
            continue;
        }
        if (bool bad = false; takeCalculusOption(args, i, a.calculus, bad)) {
            if (bad)
                return std::nullopt;
            continue;
        }
        if (arg == QLatin1String("--size")) {
            if (++i >= args.size())
                return std::nullopt;
            value = args[i];
        } else if (arg.startsWith(QLatin1String("--size="))) {
            value = arg.mid(7);
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return std::nullopt;
        } else {
            positional << arg;
            continue;
        }
        bool ok = false;
        a.size = value.toInt(&ok);
        if (!ok || a.size < kMinSize || a.size > kMaxSize)
            return std::nullopt;
    }
    if (positional.size() != 2 || !calculusOptionsFit(a.calculus))
        return std::nullopt;
    a.input = positional[0];
    a.output = positional[1];
    a.format = outputFormatFor(a.output);
    if (a.format.isEmpty())
        return std::nullopt;
    return a;
}

// Qt's own notices (a missing runtime folder, font look-ups of the offscreen
// platform) would break the promise of one line on failure and none on
// success; only its critical and fatal messages get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        printLine(text);
}

int render(const Arguments &a, const LoadResult &loaded, const std::vector<ParamSetting> &params,
           const DerivativeOptions &derivative, const DisplayOptions &display)
{
    // A fresh program's document (parameters all 0 except j = n = 1), then
    // the file on top, then the --param settings.
    Document doc;
    applyEquationFile(loaded, doc);
    applyParamSettings(params, doc.parameters);
    if (a.range) {
        QString error;
        const std::optional<CoordFrame> frame = evaluateRange(*a.range, doc, error);
        if (!frame) {
            printLine(error);
            return 2;
        }
        doc.frame = *frame;
    }

    GraphRenderer renderer(pictureSide(a.size, display), display.pixelRatio);
    renderer.options.tickLabels = display.textSize;
    renderer.redrawGraph(doc);
    if (int status = drawDerivativeOptions(derivative, doc, renderer); status != 0)
        return status;
    Canvas picture = renderer.graphImage();
    if (const int status = drawCalculusFigure(a.calculus, doc, renderer, picture); status >= 0)
        return status;

    // A failed write never leaves a half-written picture in place of an
    // older one.
    if (QString error = saveImageFile(picture.image(), a.output, a.format.constData()); !error.isEmpty()) {
        printLine(error);
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietQtMessages);
    QStringList argList;
    for (int i = 0; i < argc; ++i)
        argList << QString::fromLocal8Bit(argv[i]);
    if (argList.contains(QLatin1String("--help"))) {
        std::printf("%s", usageText().toLocal8Bit().constData());
        return 0;
    }
    std::vector<ParamSetting> params;
    if (QString error = takeParamOptions(argList, params); !error.isEmpty()) {
        printLine(error);
        return 2;
    }
    DerivativeOptions derivative;
    if (!takeDerivativeOptions(argList, derivative))
        return usage();
    DisplayOptions display;
    if (QString error = takeDisplayOptions(argList, display); !error.isEmpty()) {
        printLine(error);
        return 2;
    }
    std::optional<Arguments> args = parseArguments(argList);
    if (!args || pictureSide(args->size, display) > kMaxSize)
        return usage();

    // The file is read before any window-system set-up: a file that cannot be
    // read costs nothing more.
    LoadResult loaded = loadEquationFile(args->input);
    if (!loaded.ok()) {
        QString why = loaded.status == LoadResult::NotEquationFile
                          ? QStringLiteral("1行目: 式ファイルではありません")
                          : loaded.message;
        printLine(QStringLiteral("%1: %2").arg(args->input, why));
        return 1;
    }
    for (const QString &note : unparsableTextNotes(args->input, loaded))
        printLine(note);

    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return render(*args, loaded, params, derivative, display);
}
