#include "app/AddEngineCommand.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTextStream>

#include "app/DescriptionFetch.h"
#include "catalogue/CatalogDocument.h"
#include "catalogue/CatalogEditor.h"
#include "catalogue/CatalogTokenizer.h"

namespace
{
constexpr int kAddedExitCode = 0;
constexpr int kRefusedExitCode = 1;
constexpr int kUnreadableExitCode = 2;

int Say(int exitCode, const QString &message)
{
    QTextStream(stderr) << "quaerio: " << message << Qt::endl;
    return exitCode;
}

qsizetype IndexOfName(const QStringList &names, const QString &name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (SameCatalogName(names.at(i), name))
            return i;
    }
    return -1;
}

// The category's place, the language and the category made when missing;
// the refusal, if one was refused.
QString FindOrAddCategory(CCatalogEditor &editor, const QString &language, const QString &category, SCatalogPlace &place)
{
    place.nLanguage = int(IndexOfName(editor.Languages(), language));
    if (place.nLanguage < 0) {
        if (QString refusal = editor.AddLanguage(language); !refusal.isEmpty())
            return refusal;
        place.nLanguage = int(editor.Languages().size()) - 1;
    }
    place.nCategory = int(IndexOfName(editor.Categories(place.nLanguage), category));
    if (place.nCategory < 0) {
        if (QString refusal = editor.AddCategory(place.nLanguage, category); !refusal.isEmpty())
            return refusal;
        place.nCategory = int(editor.Categories(place.nLanguage).size()) - 1;
    }
    return {};
}

int AddToCatalogue(const SAddEngineRequest &request, SEngineDescription engine, const QString &catalogInUse,
                   const QString &userCatalog)
{
    if (!request.strName.isEmpty())
        engine.strName = request.strName;
    CCatalogDocument document;
    QString reason;
    if (!document.Load(catalogInUse, &reason))
        return Say(kRefusedExitCode, QStringLiteral("the catalogue %1 cannot be read: %2").arg(catalogInUse, reason));
    CCatalogEditor editor(document);
    SCatalogPlace place;
    QString refusal = FindOrAddCategory(editor, request.strLanguage, request.strCategory, place);
    if (refusal.isEmpty())
        refusal = editor.AddEngine(place.nLanguage, place.nCategory, engine);
    if (!refusal.isEmpty())
        return Say(kRefusedExitCode, QStringLiteral("the engine is not added: %1").arg(refusal));
    if (!document.Save(userCatalog, &reason))
        return Say(kRefusedExitCode, QStringLiteral("%1 cannot be written: %2").arg(userCatalog, reason));
    return kAddedExitCode;
}
} // namespace

int AddEngineCommand(const SAddEngineRequest &request, const QString &catalogInUse, const QString &userCatalog)
{
    QNetworkAccessManager network;
    CDescriptionFetch fetch(network);
    QEventLoop loop;
    int exitCode = kUnreadableExitCode;
    QObject::connect(&fetch, &CDescriptionFetch::Finished, &loop,
                     [&](EOpenSearchRead result, const SEngineDescription &engine, const QString &error) {
                         if (result == EOpenSearchRead::Read)
                             exitCode = AddToCatalogue(request, engine, catalogInUse, userCatalog);
                         else
                             exitCode = Say(result == EOpenSearchRead::Refused ? kRefusedExitCode : kUnreadableExitCode,
                                            QStringLiteral("%1: %2").arg(request.strSource, error));
                         loop.quit();
                     });
    fetch.Start(request.strSource);
    loop.exec();
    return exitCode;
}
