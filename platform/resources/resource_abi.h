#pragma once
// The C interface between the resource library (stock_resource.so) and the
// programs that load it. The library exports one function,
// brantel_resource_table, returning a table that lives as long as the
// library stays loaded. Everything in it is plain data, so the loader can
// check it before using it.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define BRANTEL_RESOURCE_ABI_VERSION 1u
#define BRANTEL_RESOURCE_TABLE_SYMBOL "brantel_resource_table"

// Picture type codes, as the screens ask for them.
#define BRANTEL_PICTURE_PNG 1u
#define BRANTEL_PICTURE_GIF 2u

typedef struct BrantelPictureEntry {
  uint32_t type;    // BRANTEL_PICTURE_PNG or BRANTEL_PICTURE_GIF: the format of bytes
  uint32_t number;
  const unsigned char* bytes;
  uint32_t size;
} BrantelPictureEntry;

typedef struct BrantelStringEntry {
  uint32_t number;
  const char* utf8;  // zero-terminated
} BrantelStringEntry;

#define BRANTEL_MENU_ITEM_POPUP 1u      // the items that follow at depth + 1 belong to it
#define BRANTEL_MENU_ITEM_SEPARATOR 2u  // no caption, no command

// A menu is a flat run of items in display order. A pop-up item is followed
// by its own items one level deeper.
typedef struct BrantelMenuItemEntry {
  uint32_t depth;  // 0 for the items of the bar itself
  uint32_t flags;
  uint32_t command;
  const char* caption_utf8;  // zero-terminated; may be null for a separator
} BrantelMenuItemEntry;

typedef struct BrantelMenuEntry {
  uint32_t number;
  const BrantelMenuItemEntry* items;
  uint32_t item_count;
} BrantelMenuEntry;

typedef struct BrantelResourceTable {
  uint32_t abi_version;  // BRANTEL_RESOURCE_ABI_VERSION
  uint32_t table_size;   // sizeof(BrantelResourceTable) as the library was built
  const BrantelPictureEntry* pictures;
  uint32_t picture_count;
  const BrantelStringEntry* strings;
  uint32_t string_count;
  const BrantelMenuEntry* menus;
  uint32_t menu_count;
} BrantelResourceTable;

typedef const BrantelResourceTable* (*BrantelResourceTableFunction)(void);

#ifdef __cplusplus
}
#endif
