// A program that makes one request over TLS through the process-wide transport and then ends the
// way every program does, its application object going out of scope. The shared transport's
// test runs it and reads what it printed: an exit must be quiet.

#include "networking/NetworkHttpTransport.h"
#include "support/LoopbackServer.h"

#include <QCoreApplication>

#include <chrono>

int main(int argc, char** argv)
{
    using namespace vantrell;
    QCoreApplication application(argc, argv);
    LoopbackServer server(LoopbackServer::Scheme::https);
    server.route("GET", "/ping", LoopbackReply::json(200, "[]"));
    HttpRequest request;
    request.url = server.url(QStringLiteral("/ping"));
    request.timeout = std::chrono::seconds(10);
    try {
        const HttpResponse response =
            QCoro::waitFor(NetworkHttpTransport::shared().perform(request));
        return response.statusCode == 200 ? 0 : 2;
    } catch (const HttpTransportError&) {
        return 3;
    }
}
