// Where the alert options live: a small settings interface with two adapters, one over a
// client's plug-in settings and one over the host's "System" section.
#pragma once

class PlugsSession;
class PlugsSystemSession;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual bool getBool(const char* key, bool def) = 0;
  virtual int getInt(const char* key, int def) = 0;
  // Copies the value (or def) into buffer, at most size-1 bytes plus a NUL.
  virtual void getString(const char* key, char* buffer, int size, const char* def) = 0;
  virtual void writeBool(const char* key, bool value) = 0;
  virtual void writeInt(const char* key, int value) = 0;
  virtual void writeString(const char* key, const char* value) = 0;
};

class ClientSettingsStore : public SettingsStore {
 public:
  explicit ClientSettingsStore(PlugsSession& session) : session_(session) {}
  bool getBool(const char* key, bool def) override;
  int getInt(const char* key, int def) override;
  void getString(const char* key, char* buffer, int size, const char* def) override;
  void writeBool(const char* key, bool value) override;
  void writeInt(const char* key, int value) override;
  void writeString(const char* key, const char* value) override;

 private:
  PlugsSession& session_;
};

class SystemSettingsStore : public SettingsStore {
 public:
  explicit SystemSettingsStore(PlugsSystemSession& session) : session_(session) {}
  bool getBool(const char* key, bool def) override;
  int getInt(const char* key, int def) override;
  void getString(const char* key, char* buffer, int size, const char* def) override;
  void writeBool(const char* key, bool value) override;
  void writeInt(const char* key, int value) override;
  void writeString(const char* key, const char* value) override;

 private:
  PlugsSystemSession& session_;
};
