// The version box `AboutBox1`: program name, version and licence line.
#pragma once

#include <QDialog>

class TAboutBox1 : public QDialog
{
    Q_OBJECT
  public:
    explicit TAboutBox1(QWidget *parent = nullptr);
};
