#include "app/p_about.h"

#include "app/shell.h"

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

QString about_notice(int year) {
    return QString("Copyright (C) Tolvane developers, %1").arg(year);
}

Tabout::Tabout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setWindowTitle("About");
    setFont(program_font());
    setFixedSize(395, 132);

    ProductName = new QLabel(APP_TITLE, this);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    LinkLine = new QLabel(QString("<a href=\"%1\">%1</a>").arg(HOME_PAGE), this);
    LinkLine->setCursor(Qt::PointingHandCursor);
    LinkLine->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(LinkLine, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    NoticeLine = new QLabel(this);
    LegalLine = new QLabel("This program comes with no warranty.", this);
    OKButton = new QPushButton("OK", this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(4);
    for (QLabel* line : {ProductName, LinkLine, NoticeLine, LegalLine})
        layout->addWidget(line);
    layout->addStretch();
    layout->addWidget(OKButton, 0, Qt::AlignRight);
}

void Tabout::showEvent(QShowEvent* event) {
    NoticeLine->setText(about_notice(QDate::currentDate().year()));
    QDialog::showEvent(event);
}
