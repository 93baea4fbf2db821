#include "platform/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace
{
MessageBoxHook &hook()
{
    static MessageBoxHook current;
    return current;
}

QMessageBox::Icon iconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

// Appends the box to the file named by QUAERIO_MESSAGE_LOG and gives the
// answer of its first button; false when no such file is named.
bool logInsteadOfShowing(const MessageBoxCall &call, int &answer)
{
    const QString path = qEnvironmentVariable("QUAERIO_MESSAGE_LOG");
    if (path.isEmpty())
        return false;
    QFile log(path);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        QString text = call.text;
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        log.write((call.caption + QLatin1Char('\t') + text + QLatin1Char('\n')).toUtf8());
    }
    answer = (call.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    return true;
}

int resultOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
} // namespace

int AfxMessageBox(const QString &text, unsigned type)
{
    if ((type & MB_ICONMASK) == 0 && ((type & MB_TYPEMASK) == MB_OK || (type & MB_TYPEMASK) == MB_OKCANCEL))
        type |= MB_ICONEXCLAMATION;

    const MessageBoxCall call{LoadResString(AFX_IDS_APP_TITLE), text, type};
    if (hook())
        return hook()(call);
    if (int answer = 0; logInsteadOfShowing(call, answer))
        return answer;

    QMessageBox box(iconOf(type), call.caption, call.text, buttonsOf(type), QApplication::activeWindow());
    return resultOf(box.exec());
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook newHook)
{
    MessageBoxHook previous = std::move(hook());
    hook() = std::move(newHook);
    return previous;
}
