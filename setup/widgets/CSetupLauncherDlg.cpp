#include "CSetupLauncherDlg.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "ProductArt.h"
#include "SetupTexts.h"

namespace quillory::setup {

namespace {

// Two-line buttons wrap their words the way the platform's multi-line buttons did.
QString WrappedToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ')) {
        const QString candidate = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    lines << line;
    return lines.join('\n');
}

// Tabs indent the sub-steps of the long pages; a label draws them too narrow.
QString PageText(const std::string& text) {
    return QString::fromStdString(text).replace('\t', QStringLiteral("      "));
}

}  // namespace

CSetupLauncherDlg::CSetupLauncherDlg(SetupHost& host, MessagePort& messages, QWidget* parent)
    : QDialog(parent), launcher_(host, messages, timer_) {
    setWindowTitle(texts::kCaption);
    setWindowIcon(ApplicationIcon());
    setFixedSize(PixelsX(kDialogWidth), PixelsY(kDialogHeight));
    CreateControls();

    // Qt has no system menu to extend; the About item sits in the window's context menu.
    auto* about = new QAction(texts::kAboutItem, this);
    connect(about, &QAction::triggered, this, &CSetupLauncherDlg::ShowAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(&timer_.timer(), &QTimer::timeout, this, [this] {
        launcher_.OnTimer();
        Sync();
    });
    Sync();
}

int CSetupLauncherDlg::PixelsX(int dialogUnits) const {
    // The platform's dialog base unit: the mean width of the 52 letters, which
    // suits the texts better than the width of one "x".
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return dialogUnits * fontMetrics().horizontalAdvance(letters) / (4 * 52);
}

int CSetupLauncherDlg::PixelsY(int dialogUnits) const { return dialogUnits * fontMetrics().height() / 8; }

void CSetupLauncherDlg::CreateControls() {
    for (const ControlLayout& layout : DialogLayout()) {
        const QRect place(PixelsX(layout.left), PixelsY(layout.top), PixelsX(layout.width), PixelsY(layout.height));
        QWidget* control = nullptr;
        switch (layout.kind) {
        case ControlKind::GroupBox:
            control = new QGroupBox(this);
            break;
        case ControlKind::Picture: {
            auto* picture = new QLabel(this);
            picture->setAlignment(Qt::AlignCenter);
            picture->setPixmap(ProductPicture(place.size(), devicePixelRatioF()));
            control = picture;
            break;
        }
        case ControlKind::Text: {
            auto* text = new QLabel(this);
            text->setWordWrap(true);
            text->setTextFormat(Qt::PlainText);
            text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            control = text;
            break;
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(this);
            button->setAutoDefault(false);
            button->setDefault(layout.kind == ControlKind::DefaultButton);
            const int id = layout.id;
            connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
            control = button;
            break;
        }
        }
        control->setGeometry(place);
        control->setObjectName(QStringLiteral("control%1").arg(layout.id));
        controls_[layout.id] = control;
    }
    // The title box keeps its title above its frame here, so the page text
    // starts below the title instead of across it.
    QWidget* title = controls_.at(id::kPageTitle);
    QWidget* text = controls_.at(id::kPageText);
    const int titleBottom = title->y() + fontMetrics().height() + PixelsY(2);
    text->setGeometry(text->x(), titleBottom, text->width(), text->height() - (titleBottom - text->y()));
    title->lower();
}

void CSetupLauncherDlg::Initialize() {
    launcher_.Initialize();
    Sync();
}

void CSetupLauncherDlg::Press(int controlId) {
    if (controlId == id::kExit) {
        accept();
        return;
    }
    launcher_.OnButton(controlId);
    Sync();
}

void CSetupLauncherDlg::Sync() {
    setWindowTitle(QString::fromStdString(launcher_.Caption()));
    for (const auto& [controlId, state] : launcher_.Controls().All()) {
        QWidget* control = controls_.at(controlId);
        control->setVisible(state.visible);
        control->setEnabled(state.enabled);
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            const int height = PixelsY(24);
            const QString text = QString::fromStdString(state.text);
            button->setText(button->height() >= height
                                ? WrappedToWidth(text, button->fontMetrics(), button->width() - PixelsX(6))
                                : text);
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            box->setTitle(QString::fromStdString(state.text));
        } else if (auto* label = qobject_cast<QLabel*>(control); label && controlId == id::kPageText) {
            ShowPageText(label, PageText(state.text));
        }
    }
    if (launcher_.CloseRequested() && isVisible()) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void CSetupLauncherDlg::ShowPageText(QLabel* label, const QString& text) {
    // The longest pages were worded for a narrower font; a smaller size keeps
    // their last steps, with the support numbers, from being cut off.
    QFont font = this->font();
    label->setFont(font);
    label->setText(text);
    while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

void CSetupLauncherDlg::ShowAbout() {
    CSetupAboutBox about(this);
    about.exec();
}

CSetupAboutBox::CSetupAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(texts::kAboutCaption);
    auto* icon = new QLabel;
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    auto* version = new QLabel(texts::kAboutVersion);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(version, 1);
    row->addWidget(buttons);
    setLayout(row);
}

}  // namespace quillory::setup
