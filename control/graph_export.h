// "グラフを保存": the picture formats the save dialog offers and how the chosen
// filter and file name become the file written.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <span>

namespace gq
{

struct GraphFileFormat {
    const char *filter; // the dialog's name filter (UTF-8)
    const char *format; // Qt's image format name
    const char *suffix; // the file name extension, without the dot
};

// The offered formats in the order of the dialog's filters: the bitmap first
// ("ビットマップ (*.bmp)"), then PNG ("PNG画像 (*.png)").
std::span<const GraphFileFormat> graphFileFormats();
// The dialog's name filters, in that order.
QStringList graphFileFilters();

// What the save dialog gave: the chosen file ("" = cancelled) and the index of
// the chosen filter in graphFileFormats().
struct GraphFileChoice {
    QString path;
    int format = 0;
};

// The file written for a choice: the filter decides the format, so a name
// whose extension is another offered format's gets this format's extension
// instead, and a name with any other extension (or none) gets it appended.
// A name that already ends in it stays. Extensions compare without case.
QString graphFilePath(const GraphFileChoice &choice);

// Writes the picture for the choice, in 24 bits a pixel so that the item
// colours stay exact. Returns "" on success (or when cancelled), otherwise
// the message to show.
QString saveGraphPicture(const QImage &picture, const GraphFileChoice &choice);

} // namespace gq
