#pragma once
// One INI file of settings, read and written key by key with no cache: every read reads the file
// and every write rewrites it, so several objects on the same file always see each other's writes.
// Section and key names match without regard to ASCII letter case; blanks around values are
// dropped. Writes replace the file atomically, so a failed write leaves the old file whole.

#include <optional>
#include <string>

namespace rv {

class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // At most this many characters of a text value are returned.
  static constexpr std::size_t kMaxValueLength = 2047;
  // A larger file is no settings file: reads give the defaults, writes are refused.
  static constexpr long kMaxFileSize = 16L << 20;

  std::string readString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Decimal with an optional sign, "0x"/"0X" hexadecimal (only in a text longer than two
  // characters) or "$" hexadecimal; anything else, overflow included, gives the default.
  int readInt(const std::string& section, const std::string& key, int def) const;
  // An int whose non-zero values are true.
  bool readBool(const std::string& section, const std::string& key, bool def) const;

  // Raise AppError when the file cannot be written (missing directory, read-only file, full disk).
  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInt(const std::string& section, const std::string& key, int value);
  void writeBool(const std::string& section, const std::string& key, bool value);

  // Writes between beginWrites() and commitWrites() reach the file together, in one replacement,
  // so a save that is cut short (a kill, a full disk) leaves the old file or the new one, never
  // a mix, and a refused file is reported once. Reads meanwhile see the file as it was.
  void beginWrites();
  void commitWrites();  // AppError as for a single write; the writes are then dropped
  void dropWrites();

  // The text of an INI file with one key set.
  static std::string withValue(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& value);

  // The conversion readInt applies to a stored text; nullopt-free form for reuse by other readers.
  static bool parseInt(const std::string& text, int& out);

 private:
  std::string currentText() const;  // the text a write starts from
  std::string path_;
  std::optional<std::string> pending_;  // the file's new text while writes are gathered
};

// Gathers the writes made through a settings file while it lives; those not committed are dropped.
class SettingsWriteBatch {
 public:
  explicit SettingsWriteBatch(SettingsFile& file) : file_(file) { file_.beginWrites(); }
  ~SettingsWriteBatch() { file_.dropWrites(); }
  SettingsWriteBatch(const SettingsWriteBatch&) = delete;
  SettingsWriteBatch& operator=(const SettingsWriteBatch&) = delete;
  void commit() { file_.commitWrites(); }

 private:
  SettingsFile& file_;
};

}  // namespace rv
