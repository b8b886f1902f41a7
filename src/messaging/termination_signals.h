#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (logout, system shutdown, Ctrl+C) into a
// Qt signal on the UI thread, so that the program closes through its normal
// shutdown and a modified catalogue is saved. No-op where POSIX signals do
// not exist.
//
// Create once, on the UI thread.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void terminationRequested();

  private:
    void OnSignalByte();

    QSocketNotifier* notifier_ = nullptr;
};
