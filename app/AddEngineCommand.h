#pragma once

#include <QString>

// What `quaerio --add-engine SOURCE --language L --category C [--name N]`
// asks for.
struct SAddEngineRequest
{
    QString strSource; // a description's file or http(s) address
    QString strLanguage;
    QString strCategory;
    QString strName; // empty: the description's
};

// Reads the description and adds its engine to the category of the language
// (both made when the catalogue has none of that name, in any letter case)
// in the catalogue in use, and writes that as the user's catalogue. Needs a
// QCoreApplication, no display. Returns the exit code: 0 added; 1 refused
// (a limit, a name taken, a required parameter), 2 the description cannot be
// read; says why on standard error.
int AddEngineCommand(const SAddEngineRequest &request, const QString &catalogInUse, const QString &userCatalog);
