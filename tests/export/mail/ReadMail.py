"""Reads one message with Python's email package and prints what a mail program shows.

    ReadMail.py FILE [INDEX]    FILE: a raw message, or an mbox file when INDEX is given
"""
import base64
import email
import email.policy
import json
import mailbox
import sys

path = sys.argv[1]
if len(sys.argv) > 2:
    box = mailbox.mbox(path, factory=lambda f: email.message_from_binary_file(f, policy=email.policy.default))
    message = list(box)[int(sys.argv[2])]
else:
    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
body = message.get_body(preferencelist=("plain",))
out = {
    "subject": str(message["subject"]),
    "from": str(message["from"]),
    "to": str(message["to"]),
    "date": str(message["date"]),
    # Text travels with CR LF line ends; a mail program shows them as line breaks.
    "text": body.get_content().replace("\r\n", "\n") if body is not None else None,
    "charset": body.get_content_charset() if body is not None else None,
    "defects": len(message.defects) + sum(len(p.defects) for p in message.walk()),
    "attachments": [
        {"filename": part.get_filename(), "type": part.get_content_type(),
         "data": base64.b64encode(part.get_payload(decode=True)).decode()}
        for part in message.iter_attachments()
    ],
}
print(json.dumps(out, ensure_ascii=False))
