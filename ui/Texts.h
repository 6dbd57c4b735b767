#pragma once

#include <QString>

// Texts that several handlers compare or write.
namespace Texts {
inline const QString NoCollection = QStringLiteral("<kolekce není vybrána>");
inline const QString Active = QStringLiteral("je aktivní");
inline const QString Inactive = QStringLiteral("není aktivní");
inline const QString CountPrefix = QStringLiteral("počet tapet: ");
inline const QString NoNewPath = QStringLiteral("000");
inline const QString CountdownOff = QStringLiteral("0h 00m 00sec");
inline const QString Title = QStringLiteral("tapetor");
inline const QString UnsavedText
    = QStringLiteral("Kolekce tapet byla změněna, ale nebyla uložena.\rChcete přesto pokračovat?");
inline const QString UnsavedTitle = QStringLiteral("Kolekce není uložena");
inline const QString NoCollectionText = QStringLiteral("Kolekce tapet nebyla vybrána.\rVyberte kolekci tapet.");
inline const QString SettingsCheckTitle = QStringLiteral("chyba kontroly nastavení");
inline const QString CollectionFilter = QStringLiteral("tapetor kolekce (*.tkl)|*.tkl|");
inline const QString OpenCollectionTitle = QStringLiteral("Otevřít kolekci");
} // namespace Texts
