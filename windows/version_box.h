// The version box `AboutBox1`: program name, version and licence line.
#pragma once

#include <QDialog>

namespace gq
{

class VersionBox : public QDialog
{
    Q_OBJECT
  public:
    explicit VersionBox(QWidget *parent = nullptr);
};

} // namespace gq
