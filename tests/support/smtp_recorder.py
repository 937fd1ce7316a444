"""aiosmtpd handler for the mail tests: every message accepted is written to
a folder as JSON (envelope sender, recipients, login, content). With a user
and password as class arguments, AUTH PLAIN and LOGIN accept only those."""
import base64
import json
import os

from aiosmtpd.smtp import AuthResult, LoginPassword


class Recorder:
    def __init__(self, folder, user="", password=""):
        self.folder = folder
        self.user = user.encode()
        self.password = password.encode()
        self.count = 0

    @classmethod
    def from_cli(cls, parser, *args):
        return cls(*args)

    def _check(self, login, password):
        ok = bool(self.user) and login == self.user and password == self.password
        if not ok:
            return AuthResult(success=False, handled=False)
        return AuthResult(success=True, auth_data=LoginPassword(login, password))

    async def auth_PLAIN(self, server, args):
        try:
            _, login, password = base64.b64decode(args[1]).split(b"\0")
        except Exception:
            return AuthResult(success=False, handled=False)
        return self._check(login, password)

    async def auth_LOGIN(self, server, args):
        login = await server.challenge_auth(server.AuthLoginUsernameChallenge)
        password = await server.challenge_auth(server.AuthLoginPasswordChallenge)
        return self._check(login, password)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        record = {
            "from": envelope.mail_from,
            "to": list(envelope.rcpt_tos),
            "login": (session.login_data or b"").decode("latin-1"),
            "content": envelope.original_content.decode("latin-1"),
        }
        path = os.path.join(self.folder, "%06d.json" % self.count)
        with open(path + ".part", "w") as out:
            json.dump(record, out)
        os.rename(path + ".part", path)
        return "250 OK recorded as %06d" % self.count
