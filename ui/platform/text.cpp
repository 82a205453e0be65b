#include "ui/platform/text.h"

#include "settings/encoding.h"
#include "settings/translate.h"

#include <QFile>
#include <QLabel>

namespace quintor::ui {

QString toQt(std::string_view bytes)
{
    const std::string utf8 = windows1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString qtr(const char* german)
{
    return QString::fromStdString(translateUtf8(german));
}

QString qtrn(const char* singular, const char* plural, long long count)
{
    return QString::fromStdString(translateUtf8Plural(singular, plural, count));
}

std::string fromQt(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToWindows1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString pathToQt(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    setPlainText(*label, text);
    return label;
}

void setPlainText(QLabel& label, const QString& text)
{
    label.setTextFormat(Qt::PlainText);
    label.setText(text);
}

QString plainToolTip(const QString& text)
{
    if (text.isEmpty()) return text;
    // Escaped and marked as markup, so the escapes are read back into the very characters.
    // Kept to its own lines, as a plain tooltip would be: markup would otherwise wrap it into a narrow box.
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString notificationText(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&amp;"));
    escaped.replace(u'<', QStringLiteral("&lt;"));
    escaped.replace(u'>', QStringLiteral("&gt;"));
    return escaped;
}

std::string pathFromQt(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace quintor::ui
