#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vx::test {

// A loopback HTTP server on the test's own thread: the check keeps that
// thread's events moving while it waits, so the server answers.
class PageServer : public QTcpServer {
public:
    struct Page {
        std::string body;
        bool withLength = true;
        int dripMs = 0;  // > 0: the body trickles out one byte per interval
    };

    PageServer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    std::string Url(const std::string& path) const { return "http://127.0.0.1" + path; }

    std::map<std::string, Page> pages;
    std::vector<std::string> requests;  // request line and headers of each

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& buffer = FPending[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        const std::string head = buffer.left(end).toStdString();
        FPending.erase(socket);
        requests.push_back(head);
        std::istringstream line(head);
        std::string method, path;
        line >> method >> path;
        const auto page = pages.find(path);
        std::string reply;
        if (page == pages.end()) {
            reply = "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found";
        } else {
            reply = "HTTP/1.0 200 OK\r\n";
            if (page->second.withLength) reply += "Content-Length: " + std::to_string(page->second.body.size()) + "\r\n";
            reply += "\r\n";
            if (page->second.dripMs > 0) {
                socket->write(reply.data(), static_cast<qint64>(reply.size()));
                Drip(socket, page->second.body, page->second.dripMs);
                return;
            }
            reply += page->second.body;
        }
        socket->write(reply.data(), static_cast<qint64>(reply.size()));
        socket->disconnectFromHost();
    }

    void Drip(QTcpSocket* socket, std::string rest, int ms) {
        auto* timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [socket, rest, timer]() mutable {
            if (rest.empty()) {
                timer->stop();
                socket->disconnectFromHost();
                return;
            }
            socket->write(rest.data(), 1);
            rest.erase(0, 1);
        });
        timer->start(ms);
    }

    std::map<QTcpSocket*, QByteArray> FPending;
};

// One meta line of an update page.
inline std::string meta(const std::string& tag, const std::string& value) {
    return "<META NAME=\"" + tag + "\" CONTENT=\"" + value + "\">\r\n";
}

}  // namespace vx::test
