#pragma once

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>

// A static text that behaves as a clickable link: drawn in a link colour that
// changes under the pointer and once the link has been followed, optionally
// underlined, with a pointing-hand pointer and the target as tooltip. It
// shrinks or grows itself to its text, and a click opens the target (a web or
// "mailto:" address) with the user's own programs.
//
// The owner places the label, gives it its caption and then calls Attach(),
// which turns the plain label into a link: an empty target takes the caption,
// an empty caption takes the target, the font gets the underline setting, the
// label fits itself to its text and shows the pointing hand and the tooltip.
// Before Attach() the setters only record their values.
//
// New labels are aligned top-left, as plain dialog texts are; an owner that
// wants centred or right-aligned text sets the alignment before Attach().
class CHyperLinkLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit CHyperLinkLabel(QWidget *parent = nullptr);
    ~CHyperLinkLabel() override;
    Q_DISABLE_COPY_MOVE(CHyperLinkLabel)

    void Attach();
    bool IsAttached() const;

    void SetTarget(const QString &target);
    QString GetTarget() const;

    void SetVisited(bool visited = true);
    bool IsVisited() const;

    void SetUnderlined(bool underlined = true);
    bool IsUnderlined() const;

    bool IsHovering() const;

    // A click is still waiting for the registered browser to be looked up.
    bool IsOpening() const;

    // The colour the text is drawn in now: hover wins over visited.
    QColor TextColor() const;

    // The rectangle a label at `rect` takes to fit a text of `textSize`:
    // vertically centred labels shrink (or grow) evenly at top and bottom,
    // others end one text height below their top; centred labels shrink
    // evenly at both sides, right-aligned ones keep their right edge and the
    // rest keep their left edge. Halving truncates toward zero.
    static QRect FitRectToText(const QRect &rect, const QSize &textSize, Qt::Alignment alignment);

    // The text shown when opening a target failed with `code`.
    static QString OpenFailureText(int code);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void FitToText();
    void ApplyFont();
    void ApplyColor();
    void SetHovering(bool hovering);
    void OnClicked();
    void ReportOpenFailure(int code);

    const QColor m_clrLink{0, 0, 238};
    const QColor m_clrVisited{85, 26, 139};
    const QColor m_clrHover;
    bool m_bHovering = false;
    bool m_bVisited = false;
    bool m_bUnderlined = true;
    const bool m_bFitToText = true;
    QString m_strTarget;
    bool m_bAttached = false;
    bool m_bPressed = false;
    bool m_bOpening = false;
};
