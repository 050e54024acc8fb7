#include "formslset.h"

FormSLSet::FormSLSet()
    : LookSettings(QStringLiteral("FormSLSet"), QStringLiteral("Susie Rondix Setting"),
                   QStringLiteral("Susie Rondixに関するすべての設定ができます。"))
{
}
