#include "editor_led_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "control_binder.h"
#include "core/windows1252.h"
#include "led_view.h"
#include "protocol/page_record.h"
#include "qt_text.h"
#include "sign/substitutions.h"

namespace velora {
namespace {

// `shadow` brought in line with `now`, keeping the characters typed that Windows-1252 lacks: the
// ends both texts share (compared as the model holds them) come from `shadow`, unless the shadow
// only holds the "?" that stands for a character typed in `now`; the middle comes from `now`.
QString reconcile(const QString& shadow, const QString& now) {
    const QList<uint> old = shadow.toUcs4();
    const QList<uint> fresh = now.toUcs4();
    auto same = [](uint a, uint b) {
        return windows1252::fromCodePoint(a) == windows1252::fromCodePoint(b);
    };
    auto pick = [](uint kept, uint typed) { return kept == U'?' ? typed : kept; };
    qsizetype prefix = 0;
    while (prefix < old.size() && prefix < fresh.size() && same(old[prefix], fresh[prefix]))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < old.size() - prefix && suffix < fresh.size() - prefix &&
           same(old[old.size() - 1 - suffix], fresh[fresh.size() - 1 - suffix]))
        ++suffix;
    QList<uint> merged;
    for (qsizetype i = 0; i < prefix; ++i) merged.append(pick(old[i], fresh[i]));
    for (qsizetype i = prefix; i < fresh.size() - suffix; ++i) merged.append(fresh[i]);
    for (qsizetype i = suffix; i > 0; --i)
        merged.append(pick(old[old.size() - i], fresh[fresh.size() - i]));
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(merged.constData()), merged.size());
}

}  // namespace

EditorLedPanel::EditorLedPanel(EditorWindow& model, ControlBinder& binder,
                               std::array<QLineEdit*, 3> rows, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_rows(rows),
      m_view(new LedView(model.services().clock, this)),
      m_warning(new QLabel(this)) {
    setObjectName(QStringLiteral("LedPanel"));
    m_warning->setObjectName(QStringLiteral("LedWarning"));
    m_warning->setWordWrap(true);
    m_warning->setMinimumWidth(120);
    m_warning->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_warning->setToolTip(QStringLiteral("Caratteri che l'insegna mostra diversamente"));
    m_warning->setAccessibleDescription(m_warning->toolTip());
    // Three lines at most, always the same height: the selector and the buttons below stay put
    // while the line grows and shrinks with the typing.
    m_warning->setFixedHeight(m_warning->fontMetrics().lineSpacing() * 3 + 2);

    auto* layout = new QHBoxLayout(this);
    // Lined up with the rows above, which sit inside a frame of the style's margins.
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout->setContentsMargins(margin, 0, margin, 0);
    layout->addWidget(m_view);
    layout->addSpacing(12);
    // Under the warning: € and ° written out in letters the sign has, in one click. Its place is
    // kept while it is hidden, and its caption never widens the window: a narrow window cuts it.
    auto* spellOut = new QPushButton(this);
    binder.bind(spellOut, model.spellOut);
    spellOut->setMinimumWidth(40);
    QSizePolicy keepPlace = spellOut->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    spellOut->setSizePolicy(keepPlace);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_warning);
    column->addWidget(spellOut, 0, Qt::AlignLeft);
    layout->addLayout(column, 1);

    connect(&binder, &ControlBinder::pushed, this, &EditorLedPanel::refresh);
    for (int row = 0; row < 3; ++row) {
        connect(m_rows[static_cast<std::size_t>(row)], &QLineEdit::textEdited, this,
                [this, row](const QString& text) {
                    QString& shadow = m_typed[static_cast<std::size_t>(row)];
                    shadow = reconcile(shadow, text);
                    refresh();
                });
    }
    refresh();
}

std::string EditorLedPanel::typed(int row) {
    const TextBox& box = row == 0 ? m_model.Text1 : row == 1 ? m_model.Text2 : m_model.Text3;
    QString& shadow = m_typed[static_cast<std::size_t>(row)];
    if (fromQt(shadow) != box.text()) shadow = reconcile(shadow, toQt(box.text()));
    return shadow.toStdString();
}

void EditorLedPanel::refresh() {
    if (m_model.state().PreviewRunning == 1)
        showPreview();
    else
        showComposed();
}

void EditorLedPanel::showPreview() {
    const Modulo1& state = m_model.state();
    const int page = state.PreviewPage;
    // The grey field between two pages: the sign is dark.
    if (m_model.Text6.visible() || page < 1 || page > kLastSlot) {
        m_view->showDark(state.RowChars);
        m_previewPage = 0;
        return;
    }
    // A scrolling row that has run out stays dark, as the preview leaves it.
    m_view->showRecord(pageRecord(state, page), ScrollEnd::Dark);
    if (page != m_previewPage) m_view->replay();
    m_previewPage = page;
}

void EditorLedPanel::showComposed() {
    m_previewPage = 0;
    // Another page in the fields: what was typed on the last one no longer counts.
    if (m_model.VScroll1.value() != m_shownPosition) {
        m_shownPosition = m_model.VScroll1.value();
        for (QString& shadow : m_typed) shadow.clear();
    }
    const Modulo1& state = m_model.state();
    const EditorWindow::ComposedPage page = m_model.composedPage();
    m_scratch.RowChars = state.RowChars;
    m_scratch.PageCount = std::max<std::uint8_t>(state.PageCount, 1);
    m_scratch.PageKind[1] = page.kind;
    m_scratch.PagePause[1] = page.pause;
    m_scratch.PageText[1][1] = page.row1;
    m_scratch.PageText[1][2] = page.row2;
    m_view->showRecord(pageRecord(m_scratch, 1));

    const bool big = pageLayout(page.kind).row1.font == SignFont::Big;
    const std::string row1 = typed(big ? 2 : 0);
    const std::string row2 = big ? row1 : typed(1);
    // Each pair keeps together when the line wraps.
    QString line = QString::fromStdString(pageWarningLine(page.kind, row1, row2, state.RowChars));
    line.replace(QStringLiteral(" \u2192 "), QStringLiteral("\u00A0\u2192\u00A0"));
    if (m_warning->text() != line) m_warning->setText(line);
}

}  // namespace velora
