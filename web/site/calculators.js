// The calculators compiled to WebAssembly (web/module/exports.cpp), loaded
// without any other script: fields written in, records read out as JSON.

export async function loadCalculators(url) {
  const imports = {
    wasi_snapshot_preview1: {
      proc_exit(code) {
        throw new Error(`mirabo.wasm stopped (${code})`);
      },
    },
  };
  const { instance } = await WebAssembly.instantiateStreaming(fetch(url), imports);
  const core = instance.exports;
  core._initialize();
  const decoder = new TextDecoder();

  const read = (pointer) => {
    if (pointer === 0) throw new Error("mirabo.wasm: unknown calculator");
    const bytes = new Uint8Array(core.memory.buffer);
    const end = bytes.indexOf(0, pointer);
    return JSON.parse(decoder.decode(bytes.subarray(pointer, end)));
  };
  let capacity = 0;
  const description = read(core.mirabo_describe());
  capacity = description.fieldCapacity;

  return {
    describe: () => description,
    // The field's text, one code point a unit, cut to what the field holds:
    // 99 UTF-16 units, as the page's field and the desktop count them, a
    // character beyond U+FFFF taking two and never cut in half.
    setField(id, text) {
      const at = core.mirabo_field(id) / 4;
      const units = new Uint32Array(core.memory.buffer, 0);
      let n = 0;
      let length = 0;
      for (const c of text) {
        length += c.length;
        if (length > capacity - 1) break;
        units[at + n++] = c.codePointAt(0);
      }
      units[at + n] = 0;
    },
    // answers: kAnswerYes or kAnswerNo for the questions asked so far.
    calculate(template, answers) {
      let bits = 0;
      answers.forEach((answer, i) => {
        if (answer === description.answerYes) bits |= 1 << i;
      });
      return read(core.mirabo_calculate(template, answers.length, bits));
    },
    clear: (template) => read(core.mirabo_clear(template)),
  };
}
