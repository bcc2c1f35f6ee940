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
        case kNotRegularFile:
            text = "ce n’est pas un fichier ordinaire";
            break;
        case kNotAPicture:
            text = "ce n’est pas une image lisible";
            break;
        case kPictureTooLarge:
            text = "image trop grande";
            break;
        default:
            return fromUtf8("erreur système " + std::to_string(errnum));
    }
    return fromUtf8(text);
}

}  // namespace lumiere
