// mapwriter: writes one NM3 map file for the demo catalogue and the stand-in server's map packages.
#include "mapfilewriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

bool parseTexts(const QStringList &values, QList<MapFileText> &texts)
{
    for (const QString &value : values) {
        const qsizetype colon = value.indexOf(QLatin1Char(':'));
        bool ok = false;
        const uint language = value.left(colon).toUInt(&ok);
        if (colon < 0 || !ok || language > 0xffff)
            return false;
        texts.append({quint16(language), value.mid(colon + 1).toUtf8()});
    }
    return true;
}

// NAME:OP:FIRST:SECOND with OP one of >= > <= < != =
bool parseConditions(const QStringList &values, QList<MapFileCondition> &conditions)
{
    const QStringList operators = {">=", ">", "<=", "<", "!=", "="};
    for (const QString &value : values) {
        const QStringList parts = value.split(QLatin1Char(':'));
        bool firstOk = false;
        bool secondOk = false;
        if (parts.size() != 4 || !operators.contains(parts.at(1)))
            return false;
        MapFileCondition condition{parts.at(0).toUtf8(), quint8(operators.indexOf(parts.at(1)) + 1),
                                   parts.at(2).toUInt(&firstOk), parts.at(3).toUInt(&secondOk)};
        if (!firstOk || !secondOk)
            return false;
        conditions.append(condition);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes an NM3 map file with the given header.");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "The map file to write.");
    const QCommandLineOption headerVersion("header-version", "Header version 0, 1 or 2 (default 2).", "n", "2");
    const QCommandLineOption indexId("index-id", "Index identifier.", "n", "0");
    const QCommandLineOption entries("entries", "Entries of the index table.", "n", "0");
    const QCommandLineOption first("first", "First version number.", "n", "0");
    const QCommandLineOption second("second", "Second version number (a date such as 20110317).", "n", "0");
    const QCommandLineOption code("code", "Package code, e.g. korwind.deu.", "text");
    const QCommandLineOption title("title", "Title in a language, e.g. 1031:Deutschland (repeatable).", "lang:text");
    const QCommandLineOption versionText("version-text", "Version text in a language (repeatable).", "lang:text");
    const QCommandLineOption condition("condition", "Condition NAME:OP:FIRST:SECOND (repeatable).", "condition");
    const QCommandLineOption size("size", "Pad the file with zeros to this many bytes.", "bytes", "0");
    parser.addOptions({headerVersion, indexId, entries, first, second, code, title, versionText, condition, size});
    parser.process(app);

    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "mapwriter: name one output file (--help shows the options)\n";
        return 2;
    }
    MapFileRecipe recipe;
    bool ok = true;
    const auto number = [&parser, &ok](const QCommandLineOption &option) {
        bool parsed = false;
        const uint value = parser.value(option).toUInt(&parsed);
        ok = ok && parsed;
        return value;
    };
    recipe.headerVersion = number(headerVersion);
    recipe.indexId = number(indexId);
    recipe.entryCount = number(entries);
    recipe.firstVersion = number(first);
    recipe.secondVersion = number(second);
    bool sizeOk = false;
    recipe.fileSize = parser.value(size).toULongLong(&sizeOk);
    ok = ok && sizeOk;
    recipe.packageCode = parser.value(code).toUtf8();
    if (!ok || recipe.headerVersion > 2 || !parseTexts(parser.values(title), recipe.titles)
        || !parseTexts(parser.values(versionText), recipe.versionTexts)
        || !parseConditions(parser.values(condition), recipe.conditions)) {
        err << "mapwriter: a value is not valid (--help shows the forms)\n";
        return 2;
    }
    if (!writeMapFile(recipe, parser.positionalArguments().first())) {
        err << "mapwriter: cannot write " << parser.positionalArguments().first() << "\n";
        return 1;
    }
    return 0;
}
