#include "guide_view.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "editor_view.h"
#include "window_placement.h"

namespace velora {

GuideView::GuideView(QWidget* parent)
    : QWidget(parent, Qt::Window), m_text(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("Guida"));
    setWindowTitle(QStringLiteral("Guida di Velora"));
    m_text->setObjectName(QStringLiteral("guideText"));
    m_text->setOpenExternalLinks(true);
    QFile source(QString::fromLatin1(kSource));
    if (source.open(QIODevice::ReadOnly)) m_text->setMarkdown(QString::fromUtf8(source.readAll()));

    auto* close = new QPushButton(QStringLiteral("&Chiudi"), this);
    close->setObjectName(QStringLiteral("guideClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    // About 80 characters wide and most of a small screen high.
    const int line = fontMetrics().height();
    resize(fontMetrics().averageCharWidth() * 84, line * 36);
}

namespace {

const char* const kSectionProperty = "guideSection";

}  // namespace

bool GuideView::showSection(const QString& heading) {
    QTextDocument* document = m_text->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text() != heading) continue;
        // The cursor goes there too, for the keys and for screen readers.
        m_text->setTextCursor(QTextCursor(block));
        const QRectF where = document->documentLayout()->blockBoundingRect(block);
        m_text->verticalScrollBar()->setValue(static_cast<int>(where.top()));
        return true;
    }
    return false;
}

void GuideView::setSection(QWidget* window, const QString& heading) {
    window->setProperty(kSectionProperty, heading);
}

void GuideView::addTo(EditorView& editor, Button& item) {
    auto* help = editor.menuBar()->findChild<QMenu*>(QStringLiteral("mnuaiuto"));
    auto* action = help->addAction(QString());
    editor.binder().bind(action, item);
    action->setShortcut(QKeySequence::HelpContents);
    // Some desktops give the help key no binding; F1 is what users press.
    if (action->shortcut().isEmpty()) action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::ApplicationShortcut);
    item.onClick = [&editor] {
        const QWidget* asking = QApplication::activeWindow();
        const QString section = asking ? asking->property(kSectionProperty).toString() : QString();
        auto* guide = editor.findChild<GuideView*>();
        if (!guide) {
            guide = new GuideView(&editor);
            placeOver(guide, &editor);
        }
        guide->show();
        if (!section.isEmpty()) guide->showSection(section);
        guide->raise();
        guide->activateWindow();
    };
}

}  // namespace velora
