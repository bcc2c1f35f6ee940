// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The French texts the web remote shows on a phone or in the dialog (UTF-8: they go to a browser
// or through Qt, never into the Windows-1252 core).

namespace lumiere::web_text {

inline constexpr const char* kUnreadable = "Message illisible : la commande est ignorée.";
inline constexpr const char* kUnknownCommand = "Commande inconnue : elle est ignorée.";
inline constexpr const char* kOutOfRange = "Valeur hors limites : la commande est ignorée.";
inline constexpr const char* kTooLong = "Message trop long : la connexion est fermée.";
inline constexpr const char* kUnknownSequence = "Cette séquence n'est plus dans le dossier.";
inline constexpr const char* kTooFast = "Trop de commandes à la seconde : certaines sont ignorées.";
inline constexpr const char* kFull =
    "Déjà 8 téléphones connectés : fermez la page sur l'un d'eux, puis réessayez.";
inline constexpr const char* kNoSession = "Entrez d'abord le code affiché par Lumière.";
inline constexpr const char* kBadOrigin = "Origine refusée.";
inline constexpr const char* kBadHost = "Adresse refusée : tapez l'adresse affichée par Lumière.";
inline constexpr const char* kWrongCode = "Code incorrect.";
inline constexpr const char* kPaused = "Trop d'essais : attendez %1 s avant de réessayer.";
inline constexpr const char* kNewCode = "Nouveau code : entrez le code affiché par Lumière.";
inline constexpr const char* kStopped = "La télécommande web est arrêtée.";
inline constexpr const char* kNotFound = "Page introuvable.";
inline constexpr const char* kMethod = "Requête refusée.";
inline constexpr const char* kTooLarge = "Requête trop grande.";
inline constexpr const char* kPortInUse = "Port %1 déjà utilisé par un autre programme.";
inline constexpr const char* kCannotListen = "Impossible d'écouter sur le port %1 : %2";

}  // namespace lumiere::web_text
