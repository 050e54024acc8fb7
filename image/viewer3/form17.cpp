#include "form17.h"

Form17::Form17()
    : LookSettings(QStringLiteral("Form17"), QStringLiteral("Graphic Rondix Ⅲ Setting"),
                   QStringLiteral("Graphic Rondix Ⅲ に関するすべての設定ができます。"))
{
}
