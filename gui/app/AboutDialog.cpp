#include "gui/app/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtGlobal>

#include "core/app/CommandTable.h"
#include "core/app/ProgramVersion.h"
#include "gui/app/CommandIcons.h"
#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {
struct Library {
    QString name, version, licence;
};

QString compilerText() {
#if defined(__clang__)
    return QStringLiteral("Clang %1.%2").arg(__clang_major__).arg(__clang_minor__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__);
#else
    return QStringLiteral("C++");
#endif
}
#ifndef SONDARA_JPEG_VERSION
#define SONDARA_JPEG_VERSION ""
#define SONDARA_ZIP_VERSION ""
#define SONDARA_PUGIXML_VERSION ""
#define SONDARA_XLSXWRITER_VERSION ""
#endif
}  // namespace

QString AboutDialog::librariesHtml() {
    const QList<Library> libs = {
        {"Qt (Core, Gui, Widgets, PrintSupport, Svg)",
         QObject::tr("%1（编译时 %2）")
             .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)),
         "GNU LGPL 3.0"},
        {QObject::tr("Qt 中文翻译 (qt6-translations-l10n)"), QString::fromLatin1(qVersion()),
         "GNU LGPL 3.0"},
        {QObject::tr("libjpeg-turbo (libjpeg)（JPEG 图片）"), SONDARA_JPEG_VERSION,
         QObject::tr("IJG 许可与 BSD 3-Clause")},
        {QObject::tr("libzip（Word 报告的 zip 包）"), SONDARA_ZIP_VERSION, "BSD 3-Clause"},
        {QObject::tr("pugixml（Word 报告的 XML）"), SONDARA_PUGIXML_VERSION, "MIT"},
        {QObject::tr("libxlsxwriter（Excel 报表）"), SONDARA_XLSXWRITER_VERSION, "BSD 2-Clause"},
        {QObject::tr("C++ 标准库 (libstdc++) 与 C 库 (glibc)"), compilerText(),
         QObject::tr("GPL 3.0 附运行库例外 / LGPL 2.1")},
        {QObject::tr("Noto Sans CJK 字体（界面字体，如已安装）"), "", "SIL Open Font License 1.1"},
    };
    QString html =
        QStringLiteral("<table cellspacing='0' cellpadding='3' border='1' width='100%'>") +
        QObject::tr("<tr><th>组件</th><th>版本</th><th>许可</th></tr>");
    for (const Library& l : libs)
        html +=
            QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                .arg(l.name.toHtmlEscaped(), l.version.toHtmlEscaped(), l.licence.toHtmlEscaped());
    html += QStringLiteral("</table>");
    return html;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QObject::tr("关于本软件"));
    auto* v = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(64, 64));
    icon->setAccessibleName(QObject::tr("程序图标"));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* name = new QLabel(trCore(kProgramName), this);
    QFont f = name->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    name->setFont(f);
    texts->addWidget(name);
    texts->addWidget(new QLabel(QObject::tr("版本 %1").arg(QLatin1String(kVersionNumber)), this));
    texts->addWidget(new QLabel(QString::fromUtf8(kProgramNameEnglish), this));
    texts->addWidget(new QLabel(trCore(kProgramLicence), this));
    row->addLayout(texts, 1);
    v->addLayout(row);

    auto* libsCaption = new QLabel(QObject::tr("使用的库(&L)："), this);
    libraries_ = new QTextBrowser(this);
    libraries_->setHtml(librariesHtml());
    libraries_->setAccessibleName(QObject::tr("使用的库"));
    libraries_->setMinimumHeight(140);
    libsCaption->setBuddy(libraries_);
    v->addWidget(libsCaption);
    v->addWidget(libraries_, 1);

    auto* close = new QPushButton(QObject::tr("关闭"), this);
    close->setAccessibleName(QObject::tr("关闭"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    v->addWidget(close, 0, Qt::AlignRight);
    resize(520, 360);
}

}  // namespace sondara::gui
