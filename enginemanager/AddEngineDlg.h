#pragma once

#include <QString>

#include "catalogue/EngineDescription.h"

class QWidget;

// The engine editor on `engine`, with the language and the category to add
// it to, chosen among the catalogue's: first the ones named (any letter
// case), if the catalogue has them. OK adds the engine there and writes the
// catalogue in use, with the lines nobody changed as they were, to the
// user's catalogue; a refusal keeps the editor open with the reason. True
// once written; false, after a message, when the catalogue in use cannot
// be read.
bool AddEngineInEditor(const SEngineDescription &engine, const QString &language, const QString &category,
                       const QString &catalogInUse, const QString &userCatalog, QWidget *parent);
