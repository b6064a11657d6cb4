#pragma once
// What the list windows share: the frequency box the hub writes into (Enter
// tunes, a double-click empties it), the button that shows the receiver's
// panel, and for the broadcast, own and ".320" lists the window itself: the
// small/large toggle, the title grid, the list grid with its blank row 0, the
// load button and the file-name label.

#include "core/form.h"
#include "core/links.h"
#include "lists/gridmodel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace tav::lists {

// The frequency box of a list window.
class FrequencyBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FrequencyBox(QWidget *parent);
signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *ev) override;
    void mouseDoubleClickEvent(QMouseEvent *ev) override;
};

// Tunes to the box's leading numeric value through the hub.
void tuneToText(const QString &text);
// Shows the Load dialog for a file kind (a station list of database `db`),
// modal, on behalf of `owner`.
void showLoadDialog(TavForm *owner, FileKind kind, StationDb db = StationDb::None);

class ListWindow : public TavForm, public FrequencyBoxLink {
    Q_OBJECT
public:
    // Heights in twips: window and list grid, small and large.
    static constexpr int kSmallWindow = 4395, kSmallGrid = 3135, kLargeWindow = 7530, kLargeGrid = 6270;

    QPushButton *cmdHeigh = nullptr, *cmdDiduzu = nullptr, *cmdLoad = nullptr, *cmdExit = nullptr;
    FrequencyBox *txtFrequencyA = nullptr;
    QLabel *lblDbname = nullptr;
    QTableView *grdTitles = nullptr;
    // The list grid (named by each window).
    QTableView *grid = nullptr;
    ListGridModel *model = nullptr;
    TextGridModel *titles = nullptr;

    void cmdHeigh_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    void cmdLoad_Click();
    void txtFrequencyA_KeyEnter();
    // The hub's tuned frequency.
    void showTunedFrequency(const QString &freqtext) override { txtFrequencyA->setText(freqtext); }

    bool large() const { return m_large; }
    // The text of a list cell as shown.
    QString cellText(int row, int column) const { return model->text(row, column); }

protected:
    ListWindow(WindowId id, const QString &caption, FileKind fileKind,
               const QString &loadCaption, const QString &gridName, int columns, const QVector<int> &gridWidths,
               const QVector<int> &titleWidths, const QString &dbLabelName = QStringLiteral("lblDbname"));

    void Form_Load() override;
    void Form_Unload() override;
    // Each window's answer to a click on a list cell.
    virtual void gridClick(int row, int column) = 0;
    void setTitles(const QStringList &t) { titles->setRow(0, t); }

private:
    void applyHeight();
    FileKind m_kind;
    bool m_large = false;
};

} // namespace tav::lists
