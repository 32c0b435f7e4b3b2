#include "RelayThread.h"

bool RelayThread::start(std::string& error) {
    if (!relay.open(error))
        return false;
    running = true;
    worker = std::thread([this] {
        while (running)
            relay.runOnce(1);
    });
    return true;
}

std::string RelayThread::stop() {
    if (!worker.joinable())
        return relay.summary();
    running = false;
    worker.join();
    return relay.summary();
}
