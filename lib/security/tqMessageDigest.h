#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"

// Digests of bytes, texts and files with one algorithm, chosen by its exact
// name: "MD5", "SHA-1" or "SHA-512". Answers are upper-case hexadecimal.
// Any other name is kept but every digest of it is the empty text. A copy
// carries a digest in progress on by itself. One thread at a time.
class tqMessageDigest : public tqObject {
 public:
  explicit tqMessageDigest(std::string_view algorithm);
  tqMessageDigest(const tqMessageDigest& other);
  tqMessageDigest& operator=(const tqMessageDigest& other);
  ~tqMessageDigest() override;

  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // The digest of every byte fed since the last reset, after which the object
  // starts afresh; the empty text for an unknown algorithm.
  virtual std::string digest();
  // Feeds `text` (possibly empty) and finishes as digest() does.
  virtual std::string digest(std::string_view text);
  virtual std::string getAlgorithm() const;
  // Discards whatever was fed.
  virtual void reset();
  virtual void update(std::string_view text);
  // As digest(text), except that an empty text answers the empty text and
  // changes nothing.
  virtual std::string digestText(std::string_view text);
  // The digest of the bytes fed so far followed by the file's bytes. The empty
  // text, with nothing changed, for an empty name, a file that cannot be
  // opened or read, an empty file, and at once for anything but a regular
  // file (a folder, a pipe, a device).
  virtual std::string digestFile(std::string_view fileName);

  // A new object owned by the caller; unknown names included.
  static std::unique_ptr<tqMessageDigest> getInstance(std::string_view algorithm);

 private:
  // The algorithm's state, behind a pointer so that the engines stay
  // lib/security's own; never null, a move copies.
  struct Engine;

  std::string algorithm_;
  std::unique_ptr<Engine> engine_;
};
