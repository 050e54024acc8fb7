#include "fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace vx {

void installFonts(QApplication &app)
{
    const QStringList families = QFontDatabase::families();
    auto first = [&](std::initializer_list<const char *> names) -> QString {
        for (const char *n : names)
            if (families.contains(QString::fromUtf8(n), Qt::CaseInsensitive))
                return QString::fromUtf8(n);
        return QString();
    };
    const QString pgothic = first({"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "IPAGothic"});
    const QString gothic = first({"IPAGothic", "Noto Sans Mono CJK JP", "IPAPGothic"});
    const QString mincho = first({"IPAMincho", "IPAPMincho", "Noto Serif CJK JP", "IPAGothic"});
    auto alias = [](const char *from, const QString &to) {
        if (!to.isEmpty())
            QFont::insertSubstitution(QString::fromUtf8(from), to);
    };
    alias("ＭＳ Ｐゴシック", pgothic);
    alias("MS PGothic", pgothic);
    alias("MS UI Gothic", pgothic);
    alias("ＭＳ ゴシック", gothic);
    alias("MS Gothic", gothic);
    alias("ＭＳ 明朝", mincho);
    alias("MS Mincho", mincho);
    alias("ＭＳ Ｐ明朝", mincho);
    if (!pgothic.isEmpty()) {
        QFont f(pgothic);
        f.setPointSize(9);
        app.setFont(f);
    }
}

} // namespace vx
