// The base of every client-bound session (main, add-in, in/out): the system-event hook and
// wrappers over the host services that act on this session's client.
#pragma once

#include "sdk/EventData.h"
#include "sdk/PlugsObject.h"
#include "sdk/SdkFunctions.h"

// Virtual operations continue PlugsObject's in this fixed order.
class PlugsSession : public PlugsObject {
 public:
  explicit PlugsSession(const char* clientName);

  virtual void onSystemEvent(int id, EventData* data);

  virtual void disconnect();
  virtual void connect();
  virtual bool isConnected();
  virtual void addServer(const char* host, int port, int flag);
  virtual void sendData(const char* format, ...) __attribute__((format(printf, 2, 3)));
  virtual void defineColor(const char* name, const char* label, int r, int g, int b);
  virtual COLORREF getColor(const char* name);
  virtual void setColor(const char* name, int r, int g, int b);
  virtual void defineFont(const char* name, const char* label, const char* face, int size,
                          int style);
  virtual FontRecord getFont(const char* name);
  virtual void setFont(const char* name, const char* face, int size, int style);
  virtual bool hasEvent(const char* eventName);
  virtual int getClientString(const char* key, char* buffer, int size, const char* def);
  virtual int getClientInt(const char* key, int def);
  virtual bool getClientBool(const char* key, bool def);
  virtual float getClientFloat(const char* key, float def);
  virtual void writeClientString(const char* key, const char* value);
  virtual void writeClientInt(const char* key, int value);
  virtual void writeClientBool(const char* key, bool value);
  virtual void writeClientFloat(const char* key, float value);
  virtual bool hasPlug(const char* plugName);
  virtual const char* getPlugsList();
};
