"""FTP peer for the tests, on 127.0.0.1 only.

Usage: /usr/bin/python3 ftp_peer.py ROOT ADDRESS_FILE

Serves ROOT on a free port and writes "127.0.0.1:PORT" to ADDRESS_FILE once it listens.
Users (password = user name):
  rw   - reads and writes
  ro   - reads only: every upload is answered with 550
  cut  - reads and writes, but the server cuts each transfer after 1024 bytes
"""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

CUT_AFTER = 1024


class CuttingDTPHandler(DTPHandler):
    def _cut_now(self):
        return (self.cmd_channel.username == "cut"
                and self.get_transmitted_bytes() > CUT_AFTER)

    def _cut(self):
        self._resp = ("426 Connection cut by the test peer; transfer aborted.",
                      logging.debug)
        self.close()

    def handle_read(self):
        DTPHandler.handle_read(self)
        if not self._closed and self._cut_now():
            self._cut()

    handle_read_event = handle_read

    def send(self, data):
        sent = DTPHandler.send(self, data)
        if not self._closed and self._cut_now():
            self._cut()
        return sent


def main():
    root, address_file = sys.argv[1], sys.argv[2]
    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user("rw", "rw", root, perm="elradfmw")
    authorizer.add_user("ro", "ro", root, perm="elr")
    authorizer.add_user("cut", "cut", root, perm="elradfmw")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.dtp_handler = CuttingDTPHandler
    # Without sendfile every download passes through send(), where it is cut.
    handler.use_sendfile = False
    handler.banner = "test peer"
    server = FTPServer(("127.0.0.1", 0), handler)
    port = server.socket.getsockname()[1]
    temp = address_file + ".part"
    with open(temp, "w") as out:
        out.write("127.0.0.1:%d" % port)
    os.replace(temp, address_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
