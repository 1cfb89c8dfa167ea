// The table of host services that the host fills once and hands to every plug-in: its size,
// the host's instance and system window, then the service functions in a fixed order.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

class PlugsObject;

// A client font setting as it crosses the table, by value.
struct FontRecord {
  const char* face;
  int size;
  int style;
};

// Both sides include this header: the order of the members is the binary contract. Every
// entry after the size is pointer-sized, so entry n sits at 8 * n bytes.
struct SdkFunctions {
  uint32_t size;  // sizeof(SdkFunctions) as the host built it
  uint32_t pad;
  HINSTANCE instance;
  HWND systemWindow;
  float (*getHostVersion)();
  void (*setSystemColor)(int r, int g, int b);
  void (*printSystemV)(const char* format, va_list args);
  void (*sendDataToClient)(const char* client, const char* format, va_list args);
  void (*disconnect)(PlugsObject* session);
  void (*connect)(PlugsObject* session);
  bool (*isConnected)(PlugsObject* session);
  void (*addServer)(PlugsObject* session, const char* host, int port, int flag);
  void (*sendData)(PlugsObject* session, const char* format, va_list args);
  HWND (*addSystemTab)(const char* title);
  void (*removeSystemTab)(HWND tab);
  void (*highlightSystemTab)(HWND tab, bool on);
  void (*selectSystemTab)(HWND tab);
  bool (*isSystemTabSelected)(HWND tab);
  void (*setSystemTabText)(HWND tab, const char* text);
  bool (*checkKeyPressed)(int key);
  void (*defineColor)(PlugsObject* session, const char* name, const char* label, int r, int g,
                      int b);
  COLORREF (*getColor)(PlugsObject* session, const char* name);
  void (*setColor)(PlugsObject* session, const char* name, int r, int g, int b);
  void (*defineFont)(PlugsObject* session, const char* name, const char* label, const char* face,
                     int size, int style);
  FontRecord (*getFont)(PlugsObject* session, const char* name);
  void (*setFont)(PlugsObject* session, const char* name, const char* face, int size, int style);
  bool (*hasEvent)(PlugsObject* session, const char* event);
  int (*getClientString)(PlugsObject* session, const char* key, char* buffer, int size,
                         const char* def);
  int (*getClientInt)(PlugsObject* session, const char* key, int def);
  bool (*getClientBool)(PlugsObject* session, const char* key, bool def);
  float (*getClientFloat)(PlugsObject* session, const char* key, float def);
  void (*writeClientString)(PlugsObject* session, const char* key, const char* value);
  void (*writeClientInt)(PlugsObject* session, const char* key, int value);
  void (*writeClientBool)(PlugsObject* session, const char* key, bool value);
  void (*writeClientFloat)(PlugsObject* session, const char* key, float value);
  bool (*hasPlug)(PlugsObject* session, const char* plug);
  const char* (*getPlugAuthor)(const char* plug);
  float (*getPlugVersion)(const char* plug);
  const char* (*getPlugsList)(PlugsObject* session);
  void (*sendEvent)(PlugsObject* session, const char* to, const char* type, void* data);
  int (*sendRequest)(PlugsObject* session, const char* to, char* answer, int answerSize,
                     const char* request, void* argument);
  void (*updatePlug)(const char* file);
  // The older, short table ends here; the system settings entries were added after it.
  int (*getSystemString)(const char* key, char* buffer, int size, const char* def);
  int (*getSystemInt)(const char* key, int def);
  bool (*getSystemBool)(const char* key, bool def);
  float (*getSystemFloat)(const char* key, float def);
  void (*writeSystemString)(const char* key, const char* value);
  void (*writeSystemInt)(const char* key, int value);
  void (*writeSystemBool)(const char* key, bool value);
  void (*writeSystemFloat)(const char* key, float value);
};

// Sizes a plug-in can be built for: the whole table, or the entries before the system settings.
constexpr uint32_t kSdkFunctionsFullSize = sizeof(SdkFunctions);
constexpr uint32_t kSdkFunctionsShortSize = offsetof(SdkFunctions, getSystemString);

static_assert(sizeof(void*) == 8, "the table layout below assumes 64-bit pointers");
static_assert(sizeof(SdkFunctions) == 49 * sizeof(void*), "49 pointer-sized entries");
static_assert(offsetof(SdkFunctions, instance) == 1 * sizeof(void*), "entry 1");
static_assert(offsetof(SdkFunctions, getHostVersion) == 3 * sizeof(void*), "entry 3");
static_assert(offsetof(SdkFunctions, checkKeyPressed) == 18 * sizeof(void*), "entry 18");
static_assert(offsetof(SdkFunctions, updatePlug) == 40 * sizeof(void*), "entry 40");
static_assert(offsetof(SdkFunctions, getSystemString) == 41 * sizeof(void*), "entry 41");
static_assert(offsetof(SdkFunctions, writeSystemFloat) == 48 * sizeof(void*), "entry 48");
static_assert(sizeof(FontRecord) == 16, "face pointer, size, style");
