// Mirabo's compiled resources, linked into the program by the mirabo_res
// library: the bytes of the .res file built from mirabo.rc (a 32-byte empty
// header resource, then one header-and-data entry per resource: strings,
// menu, menu-bar data, accelerators, icons, bitmaps, dialog templates and
// the version block). Identifiers are in resource.h.
#ifndef MIRABO_RES_EMBEDDED_RESOURCE_H
#define MIRABO_RES_EMBEDDED_RESOURCE_H

extern "C++" {

extern const unsigned char kMiraboResource[];
extern const unsigned long kMiraboResourceSize;

}  // extern "C++"

#endif  // MIRABO_RES_EMBEDDED_RESOURCE_H
