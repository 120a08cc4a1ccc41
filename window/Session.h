// What the window keeps from one run to the next.
//
// In QSettings (organisation and application "Probex", the desktop's
// configuration folder): the option to keep the results log, the selected
// function, each function's last field texts with its question options,
// the log's font, the window's geometry and dock state and whether the
// status bar shows.  Sync writes what was set to the disk at once, so that
// the window can keep its state soon after each change and not only when
// it closes.  The results log
// itself is a UTF-8 text file in the user's data folder, replaced atomically
// at each save so that a crash never leaves half a log.  Nothing here is
// read before the window asks for it; what cannot be written stays in
// memory for the run.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QSettings>
#include <QString>
#include <optional>

#include "calculator/Calculator.h"

namespace window {

// A function's fields as the user left them.
struct TFieldMemory {
  calculator::FieldTexts texts;
  calculator::Mode mode = calculator::Mode::Forward;  // kept as the question options
  calculator::Readings readings;                      // kept as the standard deviation option
};

class TSession {
 public:
  TSession();

  // Whether the results log is kept from one run to the next (default yes).
  bool KeepLog() const;
  void SetKeepLog(bool keep);

  std::optional<calculator::Function> SelectedFunction() const;
  void SetSelectedFunction(calculator::Function function);

  std::optional<TFieldMemory> Fields(calculator::Function function) const;
  void SetFields(calculator::Function function, const TFieldMemory& memory);

  std::optional<QFont> LogFont() const;
  void SetLogFont(const QFont& font);

  QByteArray Geometry() const;
  void SetGeometry(const QByteArray& geometry);
  QByteArray DockState() const;
  void SetDockState(const QByteArray& state);
  bool StatusBarShown() const;
  void SetStatusBarShown(bool shown);

  // Writes the settings to the disk now.
  void Sync();

  // The saved results log: its file, its text (empty when there is none),
  // saving (raises EWindowError when the file cannot be written; the old
  // one stays whole) and removing it.  Only a regular file of at most
  // kMaxLogBytes is read, without blocking on a FIFO or device; one that
  // cannot be read is never to be written over (`writable` false).  A file
  // whose bytes the log would not write back as they are (not UTF-8 text,
  // or with CR LF line ends) is first copied beside itself, as
  // results-log.txt.orig, and `problem` says so.
  static constexpr qint64 kMaxLogBytes = qint64{32} << 20;
  struct TSavedLog {
    QString text;
    QString problem;  // for the status bar; empty when all is well
    bool writable = true;
  };
  static QString LogFileName();
  TSavedLog LoadLog() const;
  void SaveLog(const QString& text) const;
  void RemoveLog() const;

  // A log the user deleted, kept beside the log (results-log.txt.bak) until
  // it is no longer wanted; saving raises EWindowError as SaveLog does.
  static QString BackupFileName();
  void SaveLogBackup(const QString& text) const;
  void RemoveLogBackup() const;

 private:
  QSettings settings_;
};

}  // namespace window
