// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/french.h"

#include <cerrno>

#include "text/cp1252.h"

namespace lumiere {

std::string describeError(int errnum) {
    const char* text = nullptr;
    switch (errnum) {
        case ENOENT:
            text = "introuvable";
            break;
        case EACCES:
        case EPERM:
            text = "accès refusé";
            break;
        case EISDIR:
            text = "c’est un dossier";
            break;
        case ENOTDIR:
            text = "chemin invalide";
            break;
        case EBUSY:
            text = "occupé par un autre programme";
            break;
        case ENXIO:
        case ENODEV:
            text = "aucun périphérique ne répond";
            break;
        case EIO:
            text = "erreur d’entrée-sortie";
            break;
        case ENOTTY:
            text = "ce n’est pas un port série";
            break;
        case EAGAIN:
            text = "la ligne est saturée";
            break;
        case ENOSPC:
            text = "disque plein";
            break;
        case EFBIG:
            text = "fichier trop grand";
            break;
        case EDQUOT:
            text = "quota disque dépassé";
            break;
        case EROFS:
            text = "support en lecture seule";
            break;
        case ENAMETOOLONG:
            text = "nom trop long";
            break;
        case EINVAL:
            text = "valeur refusée";
            break;
        case ELOOP:
            text = "trop de liens symboliques (un lien mène à lui-même)";
            break;
        case EMFILE:
        case ENFILE:
            text = "trop de fichiers ouverts";
            break;
        case ENOMEM:
            text = "mémoire insuffisante";
            break;
        case EEXIST:
            text = "existe déjà";
            break;
        case EXDEV:
            text = "pas sur le même disque";
            break;
        case ETXTBSY:
            text = "fichier en cours d’utilisation";
            break;
        case EINTR:
            text = "opération interrompue";
            break;
        case EPIPE:
            text = "plus personne ne lit de l’autre côté";
            break;
        case ETIMEDOUT:
            text = "pas de réponse à temps";
            break;
        case ECONNREFUSED:
            text = "connexion refusée";
            break;
        case ECONNRESET:
            text = "connexion coupée par l’autre côté";
            break;
        case EADDRINUSE:
            text = "déjà utilisé par un autre programme";
            break;
        case EOVERFLOW:
            text = "valeur trop grande";
            break;
        case ESTALE:
        case ENOLCK:
            text = "fichier distant indisponible";
            break;
        case EHOSTUNREACH:
        case ENETUNREACH:
            text = "réseau inaccessible";
            break;
        case kNotRegularFile:
            text = "ce n’est pas un fichier ordinaire";
            break;
        case kNotAPicture:
            text = "ce n’est pas une image lisible";
            break;
        case kPictureTooLarge:
            text = "image trop grande";
            break;
        case kTerminalInUse:
            text =
                "c’est le terminal d’une session (le vôtre, ou celui d’un shell), pas un "
                "contrôleur de lampes : refusé";
            break;
        case kLockBusy:
            text = "un autre Lumière l’enregistre en ce moment ; réessayez";
            break;
        case kControlCharacter:
            text = "le chemin contient un caractère de contrôle (un retour à la ligne ?) : refusé";
            break;
        default:
            // Any other error the system gives: said in words too, never as a bare number.
            text = "erreur inattendue du système";
            break;
    }
    return fromUtf8(text);
}

}  // namespace lumiere
