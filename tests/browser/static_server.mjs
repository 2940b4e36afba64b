// A tiny static HTTP server for the generated pages, bound to 127.0.0.1 on a free port.
//
// Generated file names are bytes (an item name may hold Windows-1252 or UTF-8 bytes), so a
// request path is percent-decoded to bytes and looked up as a byte path, never re-encoded: what
// the browser asks for is exactly the file name it gets. Only GET and HEAD of regular files below
// the root answer 200; everything else is 404 (or 405 for other methods), so a dangling link can
// never be masked by a directory listing or a fallback page.

import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const kContentTypes = new Map([
    ['.html', 'text/html'],
    ['.htm', 'text/html'],
    ['.gif', 'image/gif'],
    ['.png', 'image/png'],
    ['.jpg', 'image/jpeg'],
    ['.css', 'text/css'],
    ['.js', 'text/javascript'],
]);

// Turns "%41b%20c" into the bytes of "Ab c". Returns null for a malformed escape.
export function PercentDecodeToBytes(text) {
    const bytes = [];
    for (let i = 0; i < text.length; i++) {
        if (text[i] !== '%') {
            // Node hands the request target over as latin1: one character per byte.
            const code = text.charCodeAt(i);
            if (code > 0xff)
                return null;
            bytes.push(code);
            continue;
        }
        const hex = text.slice(i + 1, i + 3);
        if (!/^[0-9A-Fa-f]{2}$/.test(hex))
            return null;
        bytes.push(parseInt(hex, 16));
        i += 2;
    }
    return Buffer.from(bytes);
}

// Maps a request target ("/a/b.html?x=1") to a byte path below root, or null when it is
// malformed or would leave the root (a ".." segment, an encoded "/" or NUL inside a segment).
export function ResolveRequestPath(root, target) {
    const pathPart = target.split(/[?#]/, 1)[0];
    if (!pathPart.startsWith('/'))
        return null;
    const segments = [];
    for (const raw of pathPart.split('/').slice(1)) {
        const segment = PercentDecodeToBytes(raw);
        if (segment === null || segment.includes(0x2f) || segment.includes(0))
            return null;
        const name = segment.toString('latin1');
        if (name === '..')
            return null;
        if (name === '' || name === '.')
            continue;
        segments.push(segment);
    }
    const separator = Buffer.from('/');
    const parts = [Buffer.from(path.resolve(root))];
    for (const segment of segments)
        parts.push(separator, segment);
    return Buffer.concat(parts);
}

function ContentType(bytePath) {
    const extension = path.extname(bytePath.toString('latin1')).toLowerCase();
    return kContentTypes.get(extension) ?? 'application/octet-stream';
}

function Answer(response, status, body = '') {
    response.writeHead(status, {'Content-Type': 'text/plain', 'Content-Length': body.length});
    response.end(body);
}

// Serves root until close(). Resolves to {origin, close}; origin is "http://127.0.0.1:PORT".
export function ServeDirectory(root) {
    const server = http.createServer((request, response) => {
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            Answer(response, 405, 'method not allowed\n');
            return;
        }
        const file = ResolveRequestPath(root, request.url);
        let stat = null;
        try {
            stat = file === null ? null : fs.statSync(file);
        } catch {
            stat = null;
        }
        if (stat === null || !stat.isFile()) {
            Answer(response, 404, 'not found\n');
            return;
        }
        const content = fs.readFileSync(file);
        response.writeHead(200, {
            'Content-Type': ContentType(file),
            'Content-Length': content.length,
            'Cache-Control': 'no-store',
        });
        response.end(request.method === 'HEAD' ? undefined : content);
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(0, '127.0.0.1', () => {
            const {port} = server.address();
            resolve({
                origin: `http://127.0.0.1:${port}`,
                close: () => new Promise((done) => server.close(done)),
            });
        });
    });
}
