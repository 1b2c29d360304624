#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// The About box: the version, a notice on the terms of use, the authors, and the web site.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picDiamond = nullptr;
    QLabel* lblVersion = nullptr;
    std::array<QLabel*, 3> lblAbout{};
    QPushButton* cmdWeb = nullptr;
    QPushButton* cmdOK = nullptr;

    void Form_Load();
    void cmdWeb_Click();
    void cmdOK_Click();
};

// The project's home page, opened by the About box.
inline constexpr const char* kHomePage = "https://kestrane.invalid/";
