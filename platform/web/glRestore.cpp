// A lost WebGL context, given back: every texture, buffer, vertex array, framebuffer, shader and
// program the layer made is made again under its Emscripten name, from what was kept as it was
// made (each texture's images and parameters, each shader's source, each program's shaders and
// attribute names, each framebuffer's attachments, each vertex array's attributes), and GL's
// state and bindings as they last were. The layer and the demo keep their names and caches; the
// next frame draws where the show is. Kept on the context object itself, in the page's memory:
// the textures' images are about 6 MB.
#include <emscripten.h>

#include "platform/web/glLayer.h"

// Wraps the calls that make or fill objects, and the state calls, of the current context.
EM_JS(void, keepContextRecords, (), {
    var gl = GLctx;
    if (!gl || gl.dr_kept)
        return;
    var kept = gl.dr_kept = {state : {}, caps : {}, unit : 0, units : {}, bound : {}};
    // after(result, the first six arguments, all of them): no array made on the way, as some
    // of these run many times a frame.
    function wrap(name, after) {
        var call = gl[name];
        gl[name] = function() {
            var a = arguments, result = call.apply(gl, a);
            after(result, a[0], a[1], a[2], a[3], a[4], a[5], a);
            return result;
        };
    }
    function keepState(name) {
        wrap(
            name, function(result, a, b, c, d, e, f, all) {
                kept.state[name] = Array.prototype.slice.call(all);
            });
    }
    [
        'blendFunc', 'depthMask', 'colorMask', 'cullFace', 'frontFace', 'clearColor', 'clearDepth',
        'depthFunc', 'viewport', 'polygonOffset', 'lineWidth', 'scissor'
    ]
        .forEach(keepState);
    wrap(
        'enable', function(result, cap) { kept.caps[cap] = true; });
    wrap(
        'disable', function(result, cap) { kept.caps[cap] = false; });
    wrap(
        'pixelStorei', function(result, name, value) {
            kept.state['pixelStorei' + name] = [ name, value ];
        });
    wrap(
        'activeTexture', function(result, unit) { kept.unit = unit; });
    wrap(
        'bindTexture', function(result, target, texture) { kept.units[kept.unit] = texture; });
    function onTexture(record) {
        var texture = kept.units[kept.unit];
        if (texture)
            (texture.dr_ops = texture.dr_ops || []).push(record);
    }
    wrap(
        'texParameteri', function(result, target, name, value) {
            onTexture([ 'texParameteri', target, name, value ]);
        });
    wrap(
        'generateMipmap', function(result, target) {
            onTexture([ 'generateMipmap', target ]);
        });
    // texImage2D(target, level, internal, w, h, border, format, type, source[, offset]): the
    // source copied, as the heap it points into changes.
    wrap(
        'texImage2D', function(result, p0, p1, p2, p3, p4, p5, all) {
            var a = Array.prototype.slice.call(all);
            if (a.length >= 9 && a[8] && a[8].BYTES_PER_ELEMENT) {
                var components =
                    {6407 : 3, 6408 : 4, 6409 : 1, 6406 : 1, 6410 : 2, 6403 : 1, 33319 : 2}[a[6]] ||
                    4;
                var bytes = {5121 : 1, 5126 : 4, 5125 : 4, 5123 : 2}[a[7]] || 1;
                var alignment =
                    kept.state['pixelStorei3317'] ? kept.state['pixelStorei3317'][1] : 4;
                var row = Math.ceil(a[3] * components * bytes / alignment) * alignment;
                var elements = Math.ceil(row * a[4] / a[8].BYTES_PER_ELEMENT);
                var start = a.length > 9 ? a[9] : 0;
                a = a.slice(0, 8).concat([ a[8].slice(start, start + elements), 0 ]);
            }
            var texture = kept.units[kept.unit];
            if (texture) // a new image replaces what was kept for that level
                texture.dr_ops = (texture.dr_ops || []).filter(function(op) {
                    return !(op[0] == 'texImage2D' && op[1][1] == a[1]);
                });
            onTexture([ 'texImage2D', a ]);
        });
    wrap(
        'createShader', function(shader, type) {
            if (shader)
                shader.dr_type = type;
        });
    wrap(
        'shaderSource', function(result, shader, text) { shader.dr_source = text; });
    wrap(
        'attachShader', function(result, program, shader) {
            (program.dr_shaders = program.dr_shaders || []).push(shader);
        });
    wrap(
        'bindAttribLocation', function(result, program, index, name) {
            (program.dr_attribs = program.dr_attribs || {})[name] = index;
        });
    wrap(
        'linkProgram', function(result, program) { program.dr_linked = true; });
    wrap(
        'useProgram', function(result, program) { kept.bound.program = program; });
    wrap(
        'bindFramebuffer',
        function(result, target, framebuffer) { kept.bound.framebuffer = framebuffer; });
    function onFramebuffer(record) {
        var f = kept.bound.framebuffer;
        if (f)
            (f.dr_ops = f.dr_ops || []).push(record);
    }
    wrap(
        'framebufferTexture2D', function(result, target, attachment, textarget, texture, level) {
            onFramebuffer(
                [ 'framebufferTexture2D', target, attachment, textarget, texture, level ]);
        });
    wrap(
        'drawBuffers', function(result, list) {
            onFramebuffer([ 'drawBuffers', list.slice() ]);
        });
    wrap(
        'readBuffer', function(result, mode) {
            onFramebuffer([ 'readBuffer', mode ]);
        });
    wrap(
        'bindVertexArray', function(result, array) { kept.bound.vertexArray = array; });
    wrap(
        'bindBuffer', function(result, target, buffer) { kept.bound[target] = buffer; });
    function onVertexArray(record) {
        var v = kept.bound.vertexArray;
        if (v)
            (v.dr_ops = v.dr_ops || []).push(record);
    }
    wrap(
        'enableVertexAttribArray', function(result, index) {
            onVertexArray([ 'enable', index ]);
        });
    wrap(
        'vertexAttribPointer', function(result, p0, p1, p2, p3, p4, p5, all) {
            onVertexArray([ 'pointer', kept.bound[34962], Array.prototype.slice.call(all) ]);
        });
});

// Makes every object again under its name and puts GL's state and bindings back.
EM_JS(void, remakeContextObjects, (), {
    var gl = GLctx, kept = gl && gl.dr_kept;
    if (!kept)
        return;
    if (GL.initExtensions && GL.currentContext)
        GL.initExtensions(GL.currentContext);
    // What was bound before the remaking binds its own.
    var units = Object.assign({}, kept.units), unit = kept.unit,
        bound = Object.assign({}, kept.bound);
    var made = new Map();
    function remake(table, create) {
        for (var id in table) {
            var old = table[id];
            if (!old)
                continue;
            var fresh = create(old);
            fresh.name = old.name;
            made.set(old, fresh);
            table[id] = fresh;
        }
    }
    function now(old) {
        return old ? made.get(old) || old : old;
    }
    remake(
        GL.buffers, function() { return gl.createBuffer(); });
    remake(
        GL.textures, function(old) {
            var t = gl.createTexture();
            gl.bindTexture(gl.TEXTURE_2D, t);
            (old.dr_ops || []).forEach(function(op) {
                if (op[0] == 'texImage2D')
                    gl.texImage2D.apply(gl, op[1]);
                else if (op[0] == 'texParameteri')
                    gl.texParameteri(op[1], op[2], op[3]);
                else
                    gl.generateMipmap(op[1]);
            });
            t.dr_ops = old.dr_ops;
            return t;
        });
    remake(
        GL.shaders, function(old) {
            var s = gl.createShader(old.dr_type);
            gl.shaderSource(s, old.dr_source || "");
            gl.compileShader(s);
            return s;
        });
    remake(
        GL.programs, function(old) {
            var p = gl.createProgram();
            (old.dr_shaders || []).forEach(function(s) { gl.attachShader(p, now(s)); });
            for (var name in old.dr_attribs || {})
                gl.bindAttribLocation(p, old.dr_attribs[name], name);
            if (old.dr_linked)
                gl.linkProgram(p);
            // Emscripten's own bookkeeping of the program: uniform names come again in link order.
            p.maxUniformLength = p.maxAttributeLength = p.maxUniformBlockNameLength = 0;
            p.uniformIdCounter = 1;
            p.uniformLocsById = 0;
            p.uniformSizeAndIdsByName = {};
            if (old.dr_linked && typeof webglPrepareUniformLocationsBeforeFirstUse == 'function')
                webglPrepareUniformLocationsBeforeFirstUse(p);
            return p;
        });
    remake(
        GL.framebuffers, function(old) {
            var f = gl.createFramebuffer();
            gl.bindFramebuffer(gl.FRAMEBUFFER, f);
            (old.dr_ops || []).forEach(function(op) {
                if (op[0] == 'framebufferTexture2D')
                    gl.framebufferTexture2D(op[1], op[2], op[3], now(op[4]), op[5]);
                else if (op[0] == 'drawBuffers')
                    gl.drawBuffers(op[1]);
                else
                    gl.readBuffer(op[1]);
            });
            f.dr_ops = (old.dr_ops || []).map(function(op) {
                return op[0] == 'framebufferTexture2D'
                           ? op.slice(0, 4).concat([ now(op[4]), op[5] ])
                           : op;
            });
            return f;
        });
    remake(
        GL.vaos, function(old) {
            var v = gl.createVertexArray();
            gl.bindVertexArray(v);
            (old.dr_ops || []).forEach(function(op) {
                if (op[0] == 'enable') {
                    gl.enableVertexAttribArray(op[1]);
                } else {
                    gl.bindBuffer(gl.ARRAY_BUFFER, now(op[1]));
                    gl.vertexAttribPointer.apply(gl, op[2]);
                }
            });
            v.dr_ops = (old.dr_ops || []).map(function(op) {
                return op[0] == 'enable' ? op : [ op[0], now(op[1]), op[2] ];
            });
            return v;
        });
    for (var cap in kept.caps)
        (kept.caps[cap] ? gl.enable : gl.disable).call(gl, +cap);
    for (var name in kept.state) {
        var args = kept.state[name];
        if (name.indexOf('pixelStorei') == 0)
            gl.pixelStorei(args[0], args[1]);
        else
            gl[name].apply(gl, args);
    }
    for (var u in units) {
        gl.activeTexture(+u);
        gl.bindTexture(gl.TEXTURE_2D, now(units[u]));
    }
    gl.activeTexture(unit || gl.TEXTURE0);
    gl.bindVertexArray(now(bound.vertexArray) || null);
    gl.bindBuffer(gl.ARRAY_BUFFER, now(bound[34962]) || null);
    gl.bindFramebuffer(gl.FRAMEBUFFER, now(bound.framebuffer) || null);
    var program = now(bound.program) || null;
    gl.useProgram(program);
    gl.currentProgram = program;
});

void keepLayerForRestore() {
    keepContextRecords();
}

// The objects come back under their names, but empty where their contents were not kept: the
// kept blocks' and the batch's buffers are made and filled afresh, and the relinked programs'
// uniforms are sent again.
void restoreLayer() {
    remakeContextObjects();
    forgetLayerBuffers();
    forgetUniformValues();
}

// The page calls this on webglcontextrestored.
extern "C" EMSCRIPTEN_KEEPALIVE void webRestoreContext() {
    restoreLayer();
}
