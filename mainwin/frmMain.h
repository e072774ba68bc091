// The program's main window.
#pragma once

#include "qtserialcomm.h"

#include <QMainWindow>
#include <string>

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    Platform::QtSerialComm comTpdr;
    Platform::QtSerialComm comANT;
};
