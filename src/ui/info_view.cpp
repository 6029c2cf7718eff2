#include "info_view.h"

#include <functional>

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

#include "artwork.h"
#include "qt_text.h"

namespace velora {
namespace {

// The web page address: drawn as a link, opened by one click, or from the keyboard once it has
// the focus, so that it is not a mouse-only control.
class LinkLabel : public QLabel {
public:
    explicit LinkLabel(QWidget* parent) : QLabel(parent) {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        QFont linkFont = font();
        linkFont.setUnderline(true);
        setFont(linkFont);
        QPalette linkPalette = palette();
        linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
        setPalette(linkPalette);
        setContentsMargins(2, 2, 2, 2);
    }

    std::function<void()> onClick;

protected:
    // A click is a press and a release on the label: the page opens once per click.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_pressed = true;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        m_pressed = false;
        event->accept();
        if (click && onClick) onClick();
    }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Space:
                if (onClick) onClick();
                return;
            default:
                QLabel::keyPressEvent(event);
        }
    }
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus()) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }

private:
    bool m_pressed = false;
};

}  // namespace

InfoView::InfoView(InfoWindow& model, EventGate& gate, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_model(model), m_binder(model.services(), gate, this) {
    m_binder.bind(this, m_model.window);

    auto* picture = new QLabel(this);
    picture->setObjectName(QString::fromStdString(m_model.Picture1.name()));
    picture->setPixmap(logoPixmap(devicePixelRatioF()));
    picture->setFixedSize(kLogoSize);
    picture->setAccessibleName(toQt(m_model.Picture1.toolTip()));

    auto* description = new QLabel(this);
    description->setWordWrap(true);
    description->setTextFormat(Qt::PlainText);
    m_binder.bind(description, m_model.Label2);

    auto* address = new LinkLabel(this);
    address->setTextFormat(Qt::PlainText);
    m_binder.bind(address, m_model.Label3);
    address->onClick = [this] {
        m_binder.run([this] { m_model.Label3_Click(); }, &m_model.Label3);
    };

    auto* line = new QFrame(this);
    line->setObjectName(QString::fromStdString(m_model.Line1.name()));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* credit = new QLabel(this);
    credit->setWordWrap(true);
    credit->setTextFormat(Qt::PlainText);
    m_binder.bind(credit, m_model.Label1);

    auto* close = new QPushButton(this);
    close->setDefault(true);
    close->setAutoDefault(true);
    m_binder.bind(close, m_model.Command1);
    m_binder.setAccessKey(m_model.Command1, 'C');
    // Escape closes the window as "Chiudi" does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, close, &QPushButton::click);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(description);
    layout->addWidget(address, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addWidget(credit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // The description wraps within the logo's width, which puts its second sentence on a line of
    // its own.
    description->setFixedWidth(kLogoSize.width());
    credit->setFixedWidth(kLogoSize.width());
    setTabOrder(address, close);
    m_binder.sync();
}

}  // namespace velora
