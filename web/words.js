'use strict';
// Every word the page says, in both languages. Settings, formats, blends and
// palettes bring their own captions from the core's description; these are the
// page's own: its buttons, hints and messages.
const velmorantWords = (() => {
  const zh = {
    edition: '增强版', text: '输入待转换文本', options: '效果选项', lang: 'English',
    preview: '效果预览', code: '效果代码', copy: '复制上面代码', copyKey: 'Ctrl+Enter 复制代码', length: '长度', tags: '颜色标签',
    dark: '深色背景', swap: '交换起止', reset: '恢复初始设置', clear: '清空文本', copyLink: '复制设置链接',
    startPicker: '选择起始颜色', endPicker: '选择结束颜色', template: '模板', noPlace: '不指定',
    noPlaceHint: '选好要发到哪里，代码就按那里的读法来写、按那里的方法计长度和上限',
    lengthLimit: (d) => `（上限 ${d.length}，${d.count}）`, noLengthLimit: (d) => `（${d.count}，不限长度）`,
    fromLink: '这些设置来自链接：只用于这一次；保留后才会保存', keep: '保留为我的设置', drop: '放弃，用我的设置',
    readBack: '读回文本和颜色', stepByFit: '由限长选定，不能改', fitOff: '不限',
    stops: '渐变', add: '添加颜色', palettes: '预设', stripLabel: '渐变色带', hue: '色相方向', blendSpace: '混合空间',
    keys: 'Alt+↑/↓ 调整顺序；色带上的把手可拖动，或用方向键移动', auto: '自动',
    stopColour: (n) => `第 ${n} 个颜色`, stopPicker: (n) => `选择第 ${n} 个颜色`,
    stopPosition: (n) => `第 ${n} 个颜色的位置（%，可空）`, up: (n) => `第 ${n} 个颜色上移`,
    down: (n) => `第 ${n} 个颜色下移`, remove: (n) => `删除第 ${n} 个颜色`, handle: (n) => `第 ${n} 个颜色在色带上的位置`,
    named: '我的设置', namedName: '名称', save: '保存', choose: '使用', rename: '改名', delete: '删除',
    exportNamed: '导出', importNamed: '导入', noNamed: '（没有保存的设置）',
    backgroundPicker: '选择背景色', backgroundNone: '不计算对比度',
  };
  const en = {
    edition: 'enhanced', text: 'Text to convert', options: 'Effect options', lang: '中文',
    preview: 'Preview', code: 'Code', copy: 'Copy the code', copyKey: 'Ctrl+Enter copies the code', length: 'Length',
    tags: 'Colour tags', dark: 'Dark background', swap: 'Swap', reset: 'Reset to start-up settings', clear: 'Clear the text',
    copyLink: 'Copy a link to these settings', startPicker: 'Pick the start colour', endPicker: 'Pick the end colour',
    template: 'Template', noPlace: 'none: any format',
    noPlaceHint: 'Choose where you post: the code is then written as that place reads it, and counted and limited its way',
    lengthLimit: (d) => `of ${d.length} ${d.count}`, noLengthLimit: (d) => `${d.count}, no length limit`,
    fromLink: 'These settings came from a link: they apply to this visit only, unless you keep them',
    keep: 'Keep as my settings', drop: 'Drop them, use mine', readBack: 'Read back text and colours',
    stepByFit: 'Chosen by the length limit, not editable', fitOff: 'off',
    stops: 'Gradient', add: 'Add a colour', palettes: 'Presets', stripLabel: 'Gradient strip', hue: 'Hue direction',
    blendSpace: 'Blend space',
    keys: 'Alt+↑/↓ reorders; drag the handles on the strip, or move them with the arrow keys', auto: 'auto',
    stopColour: (n) => `Colour ${n}`, stopPicker: (n) => `Pick colour ${n}`,
    stopPosition: (n) => `Position of colour ${n} (%, may be empty)`, up: (n) => `Move colour ${n} up`,
    down: (n) => `Move colour ${n} down`, remove: (n) => `Remove colour ${n}`, handle: (n) => `Position of colour ${n} on the strip`,
    named: 'My settings', namedName: 'Name', save: 'Save', choose: 'Use', rename: 'Rename', delete: 'Delete',
    exportNamed: 'Export', importNamed: 'Import', noNamed: '(none saved)',
    backgroundPicker: 'Pick the background', backgroundNone: 'none: no contrast figures',
  };

  // Messages: each names its field (given as `field`, its caption) and says the real problem.
  const quote = { zh: (v) => `“${v}”`, en: (v) => `'${v}'` };
  const problems = {
    zh: {
      'not-colour': (p, q) => `${q(p.value)}不是颜色（RRGGBB、#RRGGBB、#RGB、CSS 颜色名或 rgb()、oklch() 等）`,
      'not-stop': (p, q) => `第 ${p.stop + 1} 个颜色${q(p.value)}不是颜色`,
      'not-opaque': (p, q) => `${p.stop == null ? '' : `第 ${p.stop + 1} 个颜色`}${q(p.value)}是半透明的：论坛的颜色都不透明，请去掉透明度`,
      'not-fixed-colour': (p, q) => `${p.stop == null ? '' : `第 ${p.stop + 1} 个颜色`}${q(p.value)}在这里没有固定的颜色（currentcolor 和系统颜色随页面而变）`,
      'one-colour': (p, q) => `${q(p.value)}只有一个颜色；渐变至少要两个，用逗号分开`,
      'not-blend': (p, q) => `${q(p.value)}不是混合方式`,
      'not-format': (p, q) => `${q(p.value)}不是这里有的格式`,
      'not-in-list': (p, q) => `${q(p.value)}不是这里有的选项`,
      'not-number': (p, q) => `${q(p.value)}不是不小于 0 的整数；空着表示不限`,
      'not-step': (p, q) => `${q(p.value)}不是大于 0 的整数，按 ${p.used ?? 1} 转换`,
      'too-many-stops': (p) => `颜色太多：最多 ${p.bound} 个`,
      'two-formats': (p) => `按两种格式（${p.value}）读出来不一样：请先选定格式`,
      'too-long': (p) => `太长：最多 ${p.bound} 个字`,
      'text-too-long': (p) => `太长，无法转换${p.bound ? `：最多 ${p.bound} 个字` : ''}`,
      'no-fit': (p) => (p.maxTags == null ? `没有字步长能放进 ${p.fit} 个字：最短的代码有 ${p.length} 个字，字步长 ${p.shortestStep}`
        : `没有字步长能放进 ${p.fit} 个字和 ${p.maxTags} 个标签：最短的代码有 ${p.length} 个字、${p.tags} 个标签，字步长 ${p.shortestStep}`),
      'over-tags': (p) => `代码有 ${p.tags} 个颜色标签，超过 ${p.maxTags ?? p.bound} 个：论坛会把多出的显示成文字；填上限长可选出合适的字步长`,
      'over-length': (p) => `代码有 ${p.length} 个字，超过 ${p.fit ?? p.bound} 个`,
      'missing-styles': (p) => `${q2(p.format)}没有这些样式，代码里不会有：${p.names.join('、')}`,
      'unshown': (p) => `${q2(p.place)}显示不了 ${cp(p.typed)}（共 ${p.times} 个）：已写成 ${cp(p.written)}`,
      fault: () => '这些设置需要的内存超过网页能用的；文本没有丢失，转换器已重新载入',
      'unknown-setting': (p, q) => `${q(p.value)}不是这里的设置，已忽略`,
      'not-kept': (p) => `超过 ${p.bound} 个字：这次可用，但不会保存`,
      'link-too-long': (p) => `链接会有 ${p.length} 个字，超过 ${p.bound} 个：很多程序会截断，没有复制`,
      'bad-file': () => '不是导出的设置文件，没有导入',
      'from-link': (p, q) => `链接里的${q(p.value)}在这里不能用，已忽略`,
      'stored-too-long': (p) => `保存的内容有 ${p.length} 个字，超过 ${p.bound} 个，没有使用`,
      'read-back-failed': () => '粘贴的像是代码，但没法读回：',
      'line-break': (p, q) => `${q(p.value)}里不能有换行`,
      'shown-as': (p, q) => `${p.place.zh}显示不了${q(p.typed)}：原样写入，会显示成${q(p.shown)}`,
    },
    en: {
      'not-colour': (p, q) => `${q(p.value)} is not a colour (RRGGBB, #RRGGBB, #RGB, a CSS name, or rgb(), oklch() and the like)`,
      'not-stop': (p, q) => `colour ${p.stop + 1}, ${q(p.value)}, is not a colour`,
      'not-opaque': (p, q) => `${p.stop == null ? '' : `colour ${p.stop + 1}, `}${q(p.value)} is see-through: forum colours are opaque, so give it without alpha`,
      'not-fixed-colour': (p, q) => `${p.stop == null ? '' : `colour ${p.stop + 1}, `}${q(p.value)} names no colour of its own here (currentcolor and system colours change with the page)`,
      'one-colour': (p, q) => `${q(p.value)} is one colour; a gradient needs two or more, separated by commas`,
      'not-blend': (p, q) => `${q(p.value)} is not a blend`,
      'not-format': (p, q) => `${q(p.value)} is not a format offered here`,
      'not-in-list': (p, q) => `${q(p.value)} is not a choice offered here`,
      'not-number': (p, q) => `${q(p.value)} is not a whole number of 0 or more; leave it empty for none`,
      'not-step': (p, q) => `${q(p.value)} is not a whole number above 0; converted at ${p.used ?? 1}`,
      'too-many-stops': (p) => `too many colours: at most ${p.bound}`,
      'two-formats': (p) => `two formats (${p.value}) read it differently: pick the format first`,
      'too-long': (p) => `too long: at most ${p.bound} characters`,
      'text-too-long': (p) => `too long to convert${p.bound ? `: at most ${p.bound} characters` : ''}`,
      'no-fit': (p) => (p.maxTags == null ? `no step fits in ${p.fit} characters: the shortest code is ${p.length} characters, at step ${p.shortestStep}`
        : `no step fits in ${p.fit} characters and ${p.maxTags} tags: the shortest code is ${p.length} characters with ${p.tags} tags, at step ${p.shortestStep}`),
      'over-tags': (p) => `the code has ${p.tags} colour tags, more than ${p.maxTags ?? p.bound}: the forum shows the rest as text; a length limit picks a step that fits`,
      'over-length': (p) => `the code has ${p.length} characters, more than ${p.fit ?? p.bound}`,
      'missing-styles': (p) => `${q2(p.format)} has no ${p.names.join(', ')}: the code leaves them out`,
      'unshown': (p) => `${q2(p.place)} cannot show ${cp(p.typed)} (${p.times} in the text): written as ${cp(p.written)}`,
      fault: () => 'these settings need more memory than the page has; your text is kept and the converter was loaded again',
      'unknown-setting': (p, q) => `${q(p.value)} is not a setting here and was left out`,
      'not-kept': (p) => `over ${p.bound} characters: used now, not kept for the next visit`,
      'link-too-long': (p) => `the link would be ${p.length} characters, over ${p.bound}, which many programs cut: not copied`,
      'bad-file': () => 'not an exported settings file: nothing imported',
      'from-link': (p, q) => `the link's ${q(p.value)} is not a choice here and was left out`,
      'stored-too-long': (p) => `what was stored holds ${p.length} characters, over ${p.bound}: not used`,
      'read-back-failed': () => 'The pasted text looks like a code but cannot be read back:',
      'line-break': (p, q) => `${q(p.value)} cannot hold a line break`,
      'shown-as': (p, q) => `${p.place.en} cannot show ${q(p.typed)}: written as typed, it shows as ${q(p.shown)}`,
    },
  };
  const q2 = (v) => `'${v}'`;
  // Characters by their numbers, each followed by itself where it shows.
  const cp = (text) => [...text].map((c) => `U+${c.codePointAt(0).toString(16).toUpperCase().padStart(4, '0')}${c > ' ' && c !== '\u00a0' ? ` ${c}` : ''}`).join(' ');

  // Lines of the status, not tied to one field.
  const status = {
    zh: {
      copied: () => '代码已复制', linkCopied: () => '设置链接已复制（不含文本）', copyFailed: () => '无法写入剪贴板',
      nothingChanged: () => '没有复制：代码算好之前设置又改了，请再点一次', nothingError: () => '没有复制：请先改正设置',
      shown: (d) => `框里显示前 ${d.shown} 个字，共 ${d.total} 个；复制会复制全部代码`,
      decodable: (d) => `粘贴的像是“${d.format}”代码：${d.colours} 个颜色。`,
      palette: (d) => `${d.caption}：${d.help}`,
      imported: (d) => `已导入 ${d.count} 组设置`,
      recovered: () => '转换器出错（内存不足？），已重新载入并重新转换；文本没有丢失',
      linkTooLong: (d) => `没有复制：链接会有 ${d.length} 个字，超过 ${d.bound} 个，很多程序会截断`,
      textNotKept: (d) => `文本超过 ${d.bound} 个字，不会保存到下次`,
      contrastUnder: (c) => `对比度不足：${c.units} 个单元中有 ${c.under} 个在 ${c.background} 上低于 ${c.goal}；最差的 ${c.worst} 为 ${c.ratio}:1（APCA Lc ${c.lc}）`,
      contrastMet: (c) => `全部 ${c.units} 个单元在 ${c.background} 上达到 ${c.goal}`,
      readableMoved: (c) => `易读调整改了 ${c.changed} 个颜色（Oklab 平均 ${c.mean}，最多 ${c.largest}）`,
    },
    en: {
      copied: () => 'The code is copied', linkCopied: () => 'A link to these settings is copied (the text stays out)',
      copyFailed: () => 'The clipboard refused it',
      nothingChanged: () => 'Nothing copied: the settings changed before the code was ready; click again',
      nothingError: () => 'Nothing copied: fix the settings first',
      shown: (d) => `The box shows the first ${d.shown} of ${d.total} characters; copying takes the whole code`,
      decodable: (d) => `The pasted text looks like a '${d.format}' code with ${d.colours} colours.`,
      palette: (d) => `${d.caption}: ${d.help}`,
      imported: (d) => `${d.count} named settings imported`,
      recovered: () => 'The converter stopped (out of memory?), was loaded again and converted again; your text is kept',
      linkTooLong: (d) => `Nothing copied: the link would be ${d.length} characters, over ${d.bound}, which many programs cut`,
      textNotKept: (d) => `The text is over ${d.bound} characters: it is not kept for the next visit`,
      contrastUnder: (c) => `Hard to read: ${c.under} of ${c.units} units are under ${c.goal} on ${c.background}; the worst, ${c.worst}, is ${c.ratio}:1 (APCA Lc ${c.lc})`,
      contrastMet: (c) => `All ${c.units} units reach ${c.goal} on ${c.background}`,
      readableMoved: (c) => `Readable changed ${c.changed} colours (Oklab ${c.mean} on average, ${c.largest} at most)`,
    },
  };

  // One problem in words: "<field>: <what is wrong>".
  function problem(lang, p, caption) {
    const say = problems[lang][p.problem];
    const what = say ? say(p, quote[lang]) : `${quote[lang](p.value ?? '')} ${p.problem}`;
    return caption ? `${caption}${lang === 'zh' ? '：' : ': '}${what}` : what;
  }

  // How a place counts, in the description's words, said in each language.
  const counts = {
    en: {},
    zh: {
      'code points': '按码位计', characters: '按字数计', 'UTF-8 bytes': '按 UTF-8 字节计', 'GBK bytes': '按 GBK 字节计',
      'half-width characters': '按半角字符计',
    },
  };

  return { zh, en, problem, status, problems, counts };
})();
