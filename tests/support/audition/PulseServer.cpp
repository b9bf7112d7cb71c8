#include "tests/support/audition/PulseServer.h"

#include "tests/support/audition/Clock.h"

#include <QFile>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace audition {

bool PulseServer::Start(const QString& folder) {
    const QByteArray root = QFile::encodeName(folder);
    const QByteArray runtime = root + "/pulse";
    const QByteArray clientConf = root + "/client.conf";
    const QByteArray daemonConf = root + "/daemon.conf";
    // An empty daemon configuration: the server's built-in defaults. Clients never start a
    // server of their own.
    QFile client(QFile::decodeName(clientConf));
    QFile daemon(QFile::decodeName(daemonConf));
    if (!client.open(QIODevice::WriteOnly) || client.write("autospawn = no\n") < 0 ||
        !daemon.open(QIODevice::WriteOnly)) {
        return false;
    }
    client.close();
    daemon.close();
    setenv("XDG_RUNTIME_DIR", root.constData(), 1);
    setenv("PULSE_RUNTIME_PATH", runtime.constData(), 1);
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("PULSE_CONFIG", daemonConf.constData(), 1);
    setenv("PULSE_CLIENTCONFIG", clientConf.constData(), 1);
    setenv("PULSE_SERVER", ("unix:" + runtime + "/native").constData(), 1);
    if (log_ < 0) {
        log_ = ::open((root + "/pulseaudio.log").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    }
    const std::string sink = std::string("module-null-sink sink_name=") + kSink +
                             " format=float32le rate=" + std::to_string(kSinkRate) +
                             " channels=" + std::to_string(kSinkChannels);
    // A killed server leaves its socket behind; the new one answers when it has made its own.
    unlink((runtime + "/native").constData());
    daemon_ = ChildProcess({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                            "--use-pid-file=no", "--log-target=stderr", "-L", sink, "-L",
                            "module-native-protocol-unix"},
                           log_, log_);
    for (int i = 0; i < 500 && daemon_.Started(); ++i) {
        if (access((runtime + "/native").constData(), F_OK) == 0) {
            return true;
        }
        Sleep(0.01);
    }
    return false;
}

void PulseServer::Kill() {
    daemon_.Stop(SIGKILL);
}

PulseServer::~PulseServer() {
    daemon_.Stop();
    if (log_ >= 0) {
        close(log_);
    }
}

} // namespace audition
