"""The servers of the Internet tests, on 127.0.0.1 only: a pyftpdlib FTP server with a writable
root and an HTTP server, both in threads of the test driver.

A test steers them through files in the control folder:
  cut       the next FTP data transfer of a file is cut after this many bytes: a download with
            a reset, an upload by keeping only those bytes and answering 426 at its end
  ftp.log   every FTP command the server received, one per line ("STOR vexaftpupload0.tmp")
The HTTP server answers:
  /files/NAME               a file of the HTTP root
  /cut/N/NAME               full Content-Length, N bytes, then a reset
  /short/N/NAME             full Content-Length, N bytes, then a normal close
  /slow                     64 KiB every 500 ms for at most 120 s (a long transfer to cancel)
  /                         200 "ok" (the connectivity probe)
  anything else             404
"""
import http.server
import os
import socket
import struct
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.ioloop import IOLoop
from pyftpdlib.servers import ThreadedFTPServer


def reset_socket(sock):
    """Closes with SO_LINGER 0, so the peer sees a reset rather than a normal end of data."""
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
    except OSError:
        pass


class ControlFolder:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        os.makedirs(path, exist_ok=True)

    def take_cut(self):
        """The byte count of a pending cut, consumed by the transfer that takes it."""
        name = os.path.join(self.path, 'cut')
        with self.lock:
            try:
                with open(name) as f:
                    value = int(f.read().strip() or '0')
                os.remove(name)
                return value
            except (OSError, ValueError):
                return None

    def log(self, line):
        with self.lock, open(os.path.join(self.path, 'ftp.log'), 'a') as f:
            f.write(line + '\n')


def make_ftp_handler(control):
    class CuttingDTPHandler(DTPHandler):
        cut_after = None
        checked = False
        dropping = False  # an upload past its cut: the rest is read and dropped
        kept = 0  # bytes of a cut upload written to the file

        def _cut_pending(self):
            # Listings carry no file object; only file transfers take a pending cut.
            if not self.checked and self.file_obj is not None:
                self.checked = True
                self.cut_after = control.take_cut()
            return self.cut_after is not None

        def use_sendfile(self):
            return False if self._cut_pending() else DTPHandler.use_sendfile(self)

        def _cut(self):
            reset_socket(self.socket)
            self._resp = ('426 Connection cut by the test server.', lambda *a: None)
            self.close()

        def send(self, data):
            if self._cut_pending() and self.tot_bytes_sent + len(data) >= self.cut_after:
                part = data[:max(0, self.cut_after - self.tot_bytes_sent)]
                if part:
                    DTPHandler.send(self, part)
                self._cut()
                return 0
            return DTPHandler.send(self, data)

        # An upload is cut without a reset: the file keeps the first bytes, the rest is read and
        # dropped, and the end of the data gets 426. A reset while Wine's client is blocked in a
        # send is now and then never noticed, and the upload then hangs for good.
        def handle_read(self):
            if self.receive and not self.dropping and self._cut_pending():
                self.dropping = True
                inner = self._data_wrapper

                def keep_head(chunk):
                    part = chunk[:max(0, self.cut_after - self.kept)]
                    self.kept += len(part)
                    return inner(part) if inner else part
                self._data_wrapper = keep_head
            DTPHandler.handle_read(self)

        handle_read_event = handle_read  # the base class binds its own under this name

        def handle_close(self):
            if self.dropping and not self._closed:
                self.transfer_finished = False
                self._resp = ('426 Connection cut by the test server.', lambda *a: None)
                self.close()
                return
            DTPHandler.handle_close(self)

    class LoggingFTPHandler(FTPHandler):
        dtp_handler = CuttingDTPHandler

        def pre_process_command(self, line, cmd, arg):
            if cmd != 'PASS':
                control.log(line)
            return FTPHandler.pre_process_command(self, line, cmd, arg)

    return LoggingFTPHandler


class QuietHTTPServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that goes away mid-transfer is part of the tests


def make_http_handler(root):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = 'HTTP/1.0'

        def log_message(self, *args):
            pass

        def _file(self, name):
            path = os.path.join(root, os.path.basename(name))
            return path if os.path.isfile(path) else None

        def _headers(self, length):
            self.send_response(200)
            self.send_header('Content-Type', 'application/octet-stream')
            if length is not None:
                self.send_header('Content-Length', str(length))
            self.end_headers()

        def _send_file(self, path, limit=None):
            with open(path, 'rb') as f:
                left = limit
                while left is None or left > 0:
                    chunk = f.read(1 << 20 if left is None else min(1 << 20, left))
                    if not chunk:
                        break
                    self.wfile.write(chunk)
                    if left is not None:
                        left -= len(chunk)
            self.wfile.flush()

        def do_GET(self):
            parts = self.path.split('/')
            if self.path == '/':
                self._headers(2)
                self.wfile.write(b'ok')
            elif len(parts) == 3 and parts[1] == 'files' and self._file(parts[2]):
                path = self._file(parts[2])
                self._headers(os.path.getsize(path))
                self._send_file(path)
            elif len(parts) == 4 and parts[1] in ('cut', 'short') and self._file(parts[3]):
                path = self._file(parts[3])
                self._headers(os.path.getsize(path))
                self._send_file(path, int(parts[2]))
                if parts[1] == 'cut':
                    reset_socket(self.connection)
                self.close_connection = True
            elif self.path == '/slow':
                self._headers(None)
                end = time.time() + 120
                try:
                    while time.time() < end:
                        self.wfile.write(b'x' * 65536)
                        self.wfile.flush()
                        time.sleep(0.5)
                except OSError:
                    pass
            else:
                self.send_error(404)

    return Handler


class TestServers:
    """Starts the FTP server on a free port (and on port 21 when it may), and the HTTP server."""

    def __init__(self, base):
        self.ftp_root = os.path.join(base, 'ftproot')
        self.http_root = os.path.join(base, 'httproot')
        self.control = ControlFolder(os.path.join(base, 'control'))
        os.makedirs(self.ftp_root, exist_ok=True)
        os.makedirs(self.http_root, exist_ok=True)
        self.servers = []
        self.ftp_port = self.http_port = None
        self.port21 = False

    def _ftp_server(self, port):
        authorizer = DummyAuthorizer()
        authorizer.add_anonymous(self.ftp_root, perm='elradfmwMT')
        authorizer.add_user('writer', 'secret', self.ftp_root, perm='elradfmwMT')
        authorizer.add_user('reader', 'secret', self.ftp_root, perm='elr')
        authorizer.add_user('norename', 'secret', self.ftp_root, perm='elrw')
        handler = make_ftp_handler(self.control)
        handler.authorizer = authorizer
        handler.banner = 'Vexa test FTP server'
        handler.passive_ports = None
        # Each server polls its own loop: by default they share one, and two threads polling one
        # epoll set race over the same connections (a transfer that never ends now and then).
        server = ThreadedFTPServer(('127.0.0.1', port), handler, ioloop=IOLoop())
        threading.Thread(target=server.serve_forever, kwargs={'timeout': 0.5},
                         daemon=True).start()
        self.servers.append(server)
        return server.address[1]

    def start(self, want_port21):
        import warnings
        warnings.simplefilter('ignore')  # write permissions for anonymous are the point here
        import logging
        quiet = logging.getLogger('pyftpdlib')
        quiet.addHandler(logging.NullHandler())
        quiet.setLevel(logging.CRITICAL)
        quiet.propagate = False
        self.ftp_port = self._ftp_server(0)
        if want_port21:
            try:
                self._ftp_server(21)
                self.port21 = True
            except OSError as error:
                print('no FTP server on port 21: %s' % error)
                self.port21 = False
        httpd = QuietHTTPServer(('127.0.0.1', 0), make_http_handler(self.http_root))
        threading.Thread(target=httpd.serve_forever, daemon=True).start()
        self.servers.append(httpd)
        self.http_port = httpd.server_address[1]

    def stop(self):
        for server in self.servers:
            if isinstance(server, http.server.HTTPServer):
                server.shutdown()
            else:
                server.close_all()
