#include "hostpeer/LoopbackServer.h"

#include <stdexcept>

void PrepareLoopbackServer(LoopbackServer& server) {
    server.clear_access_channels(websocketpp::log::alevel::all);
    server.clear_error_channels(websocketpp::log::elevel::all);
    server.init_asio();
    server.set_reuse_addr(true);
    // The option is set once the accepted socket is open.
    server.set_tcp_pre_init_handler([&server](websocketpp::connection_hdl handle) {
        asio::error_code ignored;
        server.get_con_from_hdl(handle)->get_socket().set_option(asio::ip::tcp::no_delay(true),
                                                                 ignored);
    });
}

int ListenOnFreeLoopbackPort(LoopbackServer& server) {
    server.listen(asio::ip::tcp::endpoint(asio::ip::address_v4::loopback(), 0));
    asio::error_code error;
    const asio::ip::tcp::endpoint local = server.get_local_endpoint(error);
    if (error) {
        throw std::runtime_error("loopback server: cannot read the listening port");
    }
    server.start_accept();
    return local.port();
}
