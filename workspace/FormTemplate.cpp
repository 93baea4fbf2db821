#include "workspace/FormTemplate.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "platform/DialogUnits.h"
#include "res/ResourceIds.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/TabCtrl.h"

namespace
{
// The template's size, in dialog units.
constexpr int kFormWidthDlu = 336;
constexpr int kFormHeightDlu = 127;

// Puts `widget` at a template rectangle given in dialog units of the form's
// font, named by its control id (0: none).
void Place(QWidget *widget, int id, int x, int y, int cx, int cy)
{
    if (id != 0)
        widget->setObjectName(QString::number(id));
    widget->setGeometry(DluRectToPixels(x, y, cx, cy, DialogFont()));
}

// A combo box's template height is that of its open list; the box itself
// keeps its natural height.
void PlaceCombo(QComboBox *box, int id, int x, int y, int cx, int listCy)
{
    Place(box, id, x, y, cx, 12);
    box->resize(box->width(), box->sizeHint().height());
    const int itemHeight = std::max(1, box->fontMetrics().height());
    box->setMaxVisibleItems(std::max(1, DluToPixelsY(listCy, DialogFont()) / itemHeight - 1));
}

// A label naming `buddy`. A text wider in this font than the template allows
// grows up to the control it names (at `nextX`), so no letter is cut off.
void AddLabel(QWidget *form, const QString &text, QRect dlu, int nextX, QWidget *buddy)
{
    auto *stc = new QLabel(text, form);
    Place(stc, 0, dlu.x(), dlu.y(), dlu.width(), dlu.height());
    const int room = DluToPixelsX(nextX, DialogFont()) - stc->x();
    stc->resize(std::max(stc->width(), std::min(stc->sizeHint().width(), room)), stc->height());
    stc->setBuddy(buddy);
    buddy->setAccessibleName(text);
}

QPushButton *AddButton(QWidget *form, const QString &text, int id, QRect dlu)
{
    auto *button = new QPushButton(text, form);
    Place(button, id, dlu.x(), dlu.y(), dlu.width(), dlu.height());
    return button;
}
} // namespace

QSize CFormTemplate::Size()
{
    const QFont font = DialogFont();
    return {DluToPixelsX(kFormWidthDlu, font), DluToPixelsY(kFormHeightDlu, font)};
}

bool CFormTemplate::ShrinkFrameToFit(QWidget *form)
{
    QWidget *frame = form->window();
    // The frame's layout hands the form its size only once it has run.
    const auto settle = [frame] {
        if (QLayout *layout = frame->layout()) {
            layout->invalidate();
            layout->activate();
        }
    };
    settle();
    const QSize size = Size();
    const int dx = std::max(0, form->width() - size.width());
    const int dy = std::max(0, form->height() - size.height());
    if (dx == 0 && dy == 0)
        return false;
    frame->resize(frame->width() - dx, frame->height() - dy);
    settle();
    return true;
}

SFormControls CFormTemplate::Create(QWidget *form)
{
    SFormControls ctl;
    AddSearchControls(form, ctl);
    AddResultControls(form, ctl);
    // Tab order follows the template.
    QWidget::setTabOrder(ctl.language, ctl.category);
    QWidget::setTabOrder(ctl.category, ctl.extend);
    QWidget::setTabOrder(ctl.extend, ctl.defaultButton);
    QWidget::setTabOrder(ctl.defaultButton, ctl.keywords);
    QWidget::setTabOrder(ctl.keywords, ctl.search);
    QWidget::setTabOrder(ctl.search, ctl.stop);
    QWidget::setTabOrder(ctl.stop, ctl.engines);
    QWidget::setTabOrder(ctl.engines, ctl.tabs);
    return ctl;
}

void CFormTemplate::AddSearchControls(QWidget *form, SFormControls &ctl)
{
    ctl.language = new QComboBox(form);
    PlaceCombo(ctl.language, IDC_CBO_LANGUAGE, 40, 4, 88, 76);
    AddLabel(form, QStringLiteral("Language"), {4, 6, 32, 8}, 40, ctl.language);

    ctl.category = new QComboBox(form);
    PlaceCombo(ctl.category, IDC_CBO_CATEGORY, 172, 4, 100, 76);
    AddLabel(form, QStringLiteral("Category"), {136, 6, 32, 8}, 172, ctl.category);

    ctl.extend = AddButton(form, QStringLiteral("-"), IDC_BTN_EXTEND, {276, 4, 12, 14});
    ctl.extend->setFlat(true);
    ctl.extend->setAccessibleName(QStringLiteral("Show or hide the engine list"));

    ctl.defaultButton = AddButton(form, QStringLiteral("&Default"), IDC_BTN_DEFAULT, {292, 4, 28, 14});
    ctl.defaultButton->setFlat(true);

    ctl.keywords = new CHistoryComboBox(form);
    PlaceCombo(ctl.keywords, IDC_CBO_KEYWORDS, 40, 20, 232, 72);
    AddLabel(form, QStringLiteral("KeyWords"), {4, 22, 32, 8}, 40, ctl.keywords);

    ctl.search = AddButton(form, QStringLiteral("&Search"), IDC_BTN_SEARCH, {276, 20, 28, 14});
    ctl.search->setDefault(true);

    ctl.stop = AddButton(form, QStringLiteral("S&top"), IDC_BTN_STOP, {308, 20, 28, 14});
    ctl.stop->setEnabled(false);
}

void CFormTemplate::AddResultControls(QWidget *form, SFormControls &ctl)
{
    ctl.engines = new QTableWidget(form);
    Place(ctl.engines, IDC_LST_ENGINES, 0, 36, 252, 76);
    ctl.engines->setAccessibleName(QStringLiteral("Engines"));
    ctl.engines->setSelectionMode(QAbstractItemView::SingleSelection);
    ctl.engines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ctl.engines->verticalHeader()->hide();
    ctl.engines->horizontalHeader()->setHighlightSections(false);
    ctl.engines->setWordWrap(false);
    ctl.engines->hide();

    ctl.tabs = new CTabCtrl(form);
    Place(ctl.tabs, IDC_TAB_ENGINES, 0, 111, 108, 16);
    ctl.tabs->setAccessibleName(QStringLiteral("Engine tabs"));
    ctl.tabs->setExpanding(false);
    ctl.tabs->setUsesScrollButtons(true);
    ctl.tabs->setElideMode(Qt::ElideNone);

    // Never shown: its lower edge is where the tabs sit in the collapsed layout.
    ctl.marker = new QLabel(QStringLiteral("1"), form);
    Place(ctl.marker, IDC_STC_MARKER, 248, 0, 12, 36);
    ctl.marker->setFrameShape(QFrame::Box);
    ctl.marker->hide();
}
