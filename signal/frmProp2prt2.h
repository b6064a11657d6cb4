#pragma once
// The printable propagation page: the listener's details from
// "prop2prt.ini", a stored propagation file drawn as a graph of its
// 15-second extremes, and the page printed (to a PDF file where no printer
// is set up).

#include "core/canvas.h"
#include "core/filekinds.h"
#include "core/form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <array>

namespace tav {

class frmProp2prt2 : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmProp2prt2;
    frmProp2prt2();

    Canvas *Picture1 = nullptr;
    QLabel *lblTitle = nullptr, *lblFrom = nullptr;
    std::array<QLabel *, 12> lbldat{};
    std::array<QLineEdit *, 12> txtdat{};
    QPushButton *cmdLoad = nullptr, *cmdCls = nullptr, *cmdPrint = nullptr, *cmdExit = nullptr;
    // Scrolls the page in a window shorter than the page (a small screen).
    QScrollBar *vsbPage = nullptr;

    void cmdLoad_Click();
    void cmdCls_Click();
    void cmdPrint_Click();
    void cmdExit_Click();
    // The reader of file kind 14.
    FileResult pan2prt2file2ram(const QString &path);

    // The page as printed: the picture with the texts on it.
    QImage pageImage() const;
    // Where the page goes when no printer is set up; tests send every print there.
    static QString pdfPath();
    static bool alwaysPdf;

protected:
    void Form_Load() override;
    void resizeEvent(QResizeEvent *ev) override;

private:
    void drawFrame();
};

} // namespace tav
