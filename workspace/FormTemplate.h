#pragma once

#include <QSize>
#include <QtGlobal>

class CHistoryComboBox;
class CTabCtrl;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

// The controls of form template 101, as the form binds them.
struct SFormControls
{
    QComboBox *language = nullptr;
    QComboBox *category = nullptr;
    CHistoryComboBox *keywords = nullptr;
    QPushButton *defaultButton = nullptr;
    QLabel *marker = nullptr;
    QPushButton *search = nullptr;
    QPushButton *stop = nullptr;
    QPushButton *extend = nullptr;
    QTableWidget *engines = nullptr;
    CTabCtrl *tabs = nullptr;
};

// Form template 101: the search form's controls at their template positions,
// given in dialog units of the form's font, each named by its control id,
// with the template's texts, initial states and tab order. Labels name the
// box beside them for assistive technology.
class CFormTemplate final
{
public:
    CFormTemplate() = delete;
    Q_DISABLE_COPY_MOVE(CFormTemplate)

    // Makes the controls as children of `form`.
    static SFormControls Create(QWidget *form);

    // The template's size in pixels.
    static QSize Size();

    // Shrinks the frame of `form` until the form is no larger than the
    // template in either direction; never grows it. True when it shrank.
    static bool ShrinkFrameToFit(QWidget *form);

private:
    // Language, category, keywords and the buttons of the upper band.
    static void AddSearchControls(QWidget *form, SFormControls &ctl);
    // The engine list, the tab row and the marker below them.
    static void AddResultControls(QWidget *form, SFormControls &ctl);
};
