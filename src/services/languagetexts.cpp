#include "languagetexts.h"

#include <QHash>

namespace vktcommon {

namespace {

struct LocaleRow
{
    const char *name;
    quint16 language;
};

// Locale names as the program's languages spell them. Some rows keep names that older settings
// and translations use: "ua_UA", "be_BE" and "ar_AR" are not standard names, and "pt_PT" goes to
// 1046 (Brazilian Portuguese), under which the maps file their Portuguese texts.
constexpr LocaleRow localeRows[] = {
    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105},
    {"ru_RU", 1049}, {"de_DE", 1031}, {"de_AT", 3079}, {"de_CH", 2055},
    {"pl_PL", 1045}, {"fr_FR", 1036}, {"fr_BE", 2060}, {"fr_CA", 3084},
    {"fr_CH", 4108}, {"it_IT", 1040}, {"es_ES", 3082}, {"es_MX", 2058},
    {"pt_PT", 1046}, {"pt_BR", 1046}, {"nl_NL", 1043}, {"nl_BE", 2067},
    {"cs_CZ", 1029}, {"sk_SK", 1051}, {"hu_HU", 1038}, {"ro_RO", 1048},
    {"bg_BG", 1026}, {"hr_HR", 1050}, {"sr_RS", 2074}, {"sl_SI", 1060},
    {"mk_MK", 1071}, {"sq_AL", 1052}, {"uk_UA", 1058}, {"ua_UA", 1058},
    {"be_BY", 1059}, {"be_BE", 1059}, {"lt_LT", 1063}, {"lv_LV", 1062},
    {"et_EE", 1061}, {"fi_FI", 1035}, {"sv_SE", 1053}, {"nb_NO", 1044},
    {"da_DK", 1030}, {"is_IS", 1039}, {"el_GR", 1032}, {"tr_TR", 1055},
    {"ar_AR", 1025}, {"ar_SA", 1025}, {"he_IL", 1037}, {"zh_CN", 2052},
    {"zh_TW", 1028}, {"ja_JP", 1041}, {"ko_KR", 1042}, {"th_TH", 1054},
    {"vi_VN", 1066}, {"kk_KZ", 1087}, {"ka_GE", 1079}, {"hy_AM", 1067},
    {"az_AZ", 1068},
};
static_assert(sizeof(localeRows) / sizeof(localeRows[0]) == 57, "one row per supported locale name");

const QHash<QString, quint16> &localeTable()
{
    static const QHash<QString, quint16> table = [] {
        QHash<QString, quint16> rows;
        for (const LocaleRow &row : localeRows)
            rows.insert(QString::fromLatin1(row.name), row.language);
        return rows;
    }();
    return table;
}

} // namespace

quint16 windowsLanguageId(const QString &localeName)
{
    return localeTable().value(localeName, englishUnitedStates);
}

QString chooseLanguageText(const LanguageTexts &texts, quint16 language)
{
    LanguageChoice<QString> choice(language);
    for (auto text = texts.constBegin(); text != texts.constEnd(); ++text)
        choice.offer(text.key(), text.value());
    return choice.chosen();
}

} // namespace vktcommon
