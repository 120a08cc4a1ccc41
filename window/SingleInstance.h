// One Probex window per user and data folder: a second start hands over to
// the running one, which comes to the front, and ends.
//
// Two windows of one user kept one log file each in memory and the one
// closed last wrote it: the other's results were lost.  So the first start
// takes a lock in the data folder (QLockFile, which a crashed owner does not
// keep: its process is gone) and listens on a local socket beside the
// runtime folder; a later start that finds the lock taken asks the socket to
// show the window.  Only a first start that neither answers nor has died
// (hung) keeps the second from starting at all, with a message: two windows
// must not write one log.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace window {

class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  // `folder`: the data folder whose log the window keeps.
  explicit TSingleInstance(const QString& folder);
  ~TSingleInstance() override;

  enum class Start { First, HandedOver, Unanswered };
  // Claims the folder, or asks its owner to show its window.
  Start Claim();

 signals:
  // A later start asked to see the window.
  void shown();

 private:
  void Listen();
  QString socketName_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace window
